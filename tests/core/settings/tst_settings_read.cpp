// Reading set_up.ini: any file, of any length or content, fills lines 1..326 without a failure.
#include "support/file_bytes.h"
#include "settings/layout.h"
#include "settings/settings_file.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace settings;

namespace {

SetupLines readBytes(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    SetupLines lines;
    readSettings(buffer, lines);
    return lines;
}

// A device that never ends and holds no line end.
class EndlessDevice : public QIODevice
{
public:
    bool isSequential() const override { return true; }
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        std::fill(data, data + maxSize, 'x');
        bytesRead += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
};

} // namespace

class TestSettingsRead : public QObject
{
    Q_OBJECT

private slots:
    void missingFileLeavesEveryLineEmpty();
    void somethingElseThanAFileReadsAsMissing();
    void tenLineFile();
    void fourHundredLineFile();
    void lineEnds_data();
    void lineEnds();
    void crLfSplitAcrossReads();
    void badBytesAndNul();
    void randomBytes();
    void longLineIsCutAtACharacter_data();
    void longLineIsCutAtACharacter();
    void endlessInputStops();
};

void TestSettingsRead::missingFileLeavesEveryLineEmpty()
{
    QTemporaryDir dir;
    SetupLines lines;
    lines.fill(QStringLiteral("old"));
    readSettingsFile(dir.filePath(QStringLiteral("set_up.ini")), lines);
    for (int k = 1; k <= kLineCount; ++k)
        QVERIFY2(lines[k].isEmpty(), qPrintable(QString::number(k)));
    // Lines that never reach the file are left alone.
    QCOMPARE(lines[0], QStringLiteral("old"));
    QCOMPARE(lines[327], QStringLiteral("old"));
    QCOMPARE(lines[330], QStringLiteral("old"));
}

void TestSettingsRead::somethingElseThanAFileReadsAsMissing()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("set_up.ini")));
    SetupLines lines;
    lines.fill(QStringLiteral("old"));
    readSettingsFile(dir.filePath(QStringLiteral("set_up.ini")), lines);
    QVERIFY(lines[1].isEmpty());
    if (QFileInfo::exists(QStringLiteral("/dev/zero"))) {
        lines.fill(QStringLiteral("old"));
        readSettingsFile(QStringLiteral("/dev/zero"), lines);
        QVERIFY(lines[1].isEmpty());
    }
}

void TestSettingsRead::tenLineFile()
{
    SetupLines lines;
    lines.fill(QStringLiteral("old"));
    readSettingsFile(fixture("set_up_10_lines.ini"), lines);
    QCOMPARE(lines[1], QStringLiteral("3"));
    QCOMPARE(lines[8], QString());
    QCOMPARE(lines[9], QStringLiteral("600"));
    QCOMPARE(lines[10], QStringLiteral("-60"));
    for (int k = 11; k <= kLineCount; ++k)
        QVERIFY2(lines[k].isEmpty(), qPrintable(QString::number(k)));
}

void TestSettingsRead::fourHundredLineFile()
{
    SetupLines lines;
    lines[327] = QStringLiteral("beyond the file");
    readSettingsFile(fixture("set_up_400_lines.ini"), lines);
    for (int k = 1; k <= kLineCount; ++k)
        QCOMPARE(lines[k], QStringLiteral("line %1").arg(k));
    QCOMPARE(lines[327], QStringLiteral("beyond the file"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    QVERIFY(QFile::copy(fixture("set_up_400_lines.ini"), path));
    QVERIFY(writeSettingsFile(path, lines).ok);
    QList<QByteArray> expected;
    for (int k = 1; k <= kLineCount; ++k)
        expected << "line " + QByteArray::number(k);
    QCOMPARE(fileBytes(path), fileOf(expected));
}

// Rows: the bytes, and lines 1..4 as read.
void TestSettingsRead::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("firstLines");
    const QStringList abc{"a", "b", "c", ""};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << abc;
    QTest::newRow("LF alone") << QByteArray("a\nb\nc\n") << abc;
    QTest::newRow("CR alone") << QByteArray("a\rb\rc\r") << abc;
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\n") << abc;
    QTest::newRow("no end after the last line") << QByteArray("a\r\nb\r\nc") << abc;
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b", ""};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b", ""};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nc\r\n") << QStringList{"", "", "c", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", ""};
    QTest::newRow("blanks are kept") << QByteArray(" a \r\n\tb") << QStringList{" a ", "\tb", "", ""};
    QTest::newRow("Ctrl-Z is a character") << QByteArray("a\x1a\r\nb") << QStringList{"a\x1a", "b", "", ""};
}

void TestSettingsRead::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, firstLines);
    const SetupLines lines = readBytes(bytes);
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(lines[k], firstLines[k - 1]);
    QVERIFY(lines[kLineCount].isEmpty());
}

// However the file is read in pieces, a CR LF stays one line end.
void TestSettingsRead::crLfSplitAcrossReads()
{
    for (int length = 4090; length <= 4100; ++length) {
        for (int repeat : {1, 4}) {
            QByteArray bytes;
            for (int line = 0; line < repeat; ++line)
                bytes += QByteArray(length, 'a') + "\r\n";
            bytes += "next\r\n";
            const SetupLines lines = readBytes(bytes);
            QCOMPARE(lines[repeat], QString(length, u'a'));
            QCOMPARE(lines[repeat + 1], QStringLiteral("next"));
            QVERIFY(lines[repeat + 2].isEmpty());
        }
    }
}

void TestSettingsRead::badBytesAndNul()
{
    SetupLines lines;
    readSettingsFile(fixture("set_up_bad_bytes.ini"), lines);
    const QChar bad = QChar::ReplacementCharacter;
    QCOMPARE(lines[1], QStringLiteral("2"));
    QCOMPARE(lines[nameLine(1, 0)], bad + QStringLiteral("山") + QChar(0) + QStringLiteral("田") + bad);
    QCOMPARE(lines[nameLine(1, 1)], QStringLiteral("花子"));
    QCOMPARE(lines[nameLine(1, 2)], QString(bad));
    QCOMPARE(lines[kLineCount], QStringLiteral("last"));
}

// Whatever the bytes, reading ends, no line holds a line end, and writing gives 326 lines.
void TestSettingsRead::randomBytes()
{
    std::mt19937 engine(20240501);
    for (int round = 0; round < 60; ++round) {
        const int size = std::uniform_int_distribution<int>(0, 30000)(engine);
        QByteArray bytes(size, '\0');
        for (char &b : bytes) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(engine);
            b = kind == 0 ? '\r' : kind == 1 ? '\n' : char(engine());
        }
        const SetupLines lines = readBytes(bytes);
        for (int k = 1; k <= kLineCount; ++k)
            QVERIFY(!lines[k].contains(u'\r') && !lines[k].contains(u'\n'));
        const QByteArray written = settingsBytes(lines);
        QCOMPARE(written.count("\r\n"), kLineCount);
        QCOMPARE(written.count('\r'), kLineCount);
        QCOMPARE(written.count('\n'), kLineCount);
        QCOMPARE(readBytes(written), readBytes(settingsBytes(readBytes(written))));
    }
}

// Rows: what comes before the run of two-byte characters, and what the kept line holds.
void TestSettingsRead::longLineIsCutAtACharacter_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QString>("kept");
    QTest::newRow("cut between characters") << QByteArray() << QString(kMaxLineBytes / 2, QChar(0x3042));
    QTest::newRow("cut inside a character") << QByteArray("a") << u'a' + QString(kMaxLineBytes / 2 - 1, QChar(0x3042));
}

void TestSettingsRead::longLineIsCutAtACharacter()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QString, kept);
    QByteArray bytes = prefix;
    for (int i = 0; i < 100000; ++i)
        bytes += "\x82\xA0";
    bytes += "\r\nnext\r\n";
    const SetupLines lines = readBytes(bytes);
    QCOMPARE(lines[1].size(), kept.size());
    QCOMPARE(lines[1], kept);
    QCOMPARE(lines[2], QStringLiteral("next"));
}

void TestSettingsRead::endlessInputStops()
{
    EndlessDevice device;
    device.open(QIODevice::ReadOnly);
    SetupLines lines;
    readSettings(device, lines);
    QCOMPARE(lines[1], QString(kMaxLineBytes, u'x'));
    QVERIFY(lines[2].isEmpty());
    QVERIFY(device.bytesRead <= kMaxReadBytes + 65536);
}

QTEST_GUILESS_MAIN(TestSettingsRead)
#include "tst_settings_read.moc"
