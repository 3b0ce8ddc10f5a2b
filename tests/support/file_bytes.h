#pragma once
// Building and reading settings files byte by byte in tests.

#include "settings/settings_file.h"

#include <QFile>
#include <QList>
#include <QTest>

// Bytes written out one by one, as code page 932 tables give them.
inline QByteArray byteString(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result += char(v);
    return result;
}

// The file a program writes: the given lines (first is line 1) then empty ones up to 326, each
// followed by CR LF.
inline QByteArray fileOf(const QList<QByteArray> &firstLines)
{
    QByteArray bytes;
    for (int k = 1; k <= 326; ++k) {
        if (k <= firstLines.size())
            bytes += firstLines[k - 1];
        bytes += "\r\n";
    }
    return bytes;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file of tests/fixtures, found through CTest's setting or beside this header.
inline QString fixture(const char *name)
{
    const QString folder = qEnvironmentVariable("AMIDAKUJI_FIXTURES");
    if (!folder.isEmpty())
        return folder + u'/' + QLatin1String(name);
    return QTest::qFindTestData(QStringLiteral("../fixtures/") + QLatin1String(name), __FILE__, __LINE__);
}
