#include "settings_file.h"
#include "cp932.h"
#include "layout.h"
#include "location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace settings {

namespace {

QString decodeLine(const QByteArray &bytes, bool cut)
{
    return decodeCp932(cut ? bytes.first(cp932CompleteLength(bytes)) : bytes);
}

SaveResult failure(const QString &path, const QString &reason)
{
    return SaveResult{false, saveFailedMessage(path, reason)};
}

} // namespace

// Where set_up.ini is read from and written to, for this program and user (see location.h).
static SettingsPaths pathsForThisProgram()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return settingsPaths(programFolder, folderWritable(programFolder), configFolder,
                         !configFolder.isEmpty() && QFileInfo::exists(perUserSettingsFile(configFolder)));
}

QString settingsFilePath()
{
    const QString path = pathsForThisProgram().writePath;
    // The user's configuration folder is made when the first save needs it.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString settingsReadPath()
{
    return pathsForThisProgram().readPath;
}

void readSettings(QIODevice &device, SetupLines &lines)
{
    for (int k = 1; k <= kLineCount; ++k)
        lines[k].clear();

    int k = 1;
    QByteArray line;
    bool cut = false;
    bool afterCr = false;
    qint64 total = 0;
    char chunk[16384];
    while (k <= kLineCount && total < kMaxReadBytes) {
        const qint64 count = device.read(chunk, qMin<qint64>(sizeof chunk, kMaxReadBytes - total));
        if (count <= 0)
            break;
        total += count;
        for (qint64 i = 0; i < count && k <= kLineCount; ++i) {
            const char b = chunk[i];
            const bool lfOfCrLf = afterCr && b == '\n';
            afterCr = b == '\r';
            if (lfOfCrLf)
                continue;
            if (b == '\r' || b == '\n') {
                lines[k++] = decodeLine(line, cut);
                // Emptied, not freed: the next line reuses the room.
                line.resize(0);
                cut = false;
            } else if (line.size() < kMaxLineBytes) {
                line += b;
            } else {
                cut = true;
            }
        }
    }
    if (k <= kLineCount && !line.isEmpty())
        lines[k] = decodeLine(line, cut);
}

void readSettingsFile(const QString &path, SetupLines &lines)
{
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        readSettings(file, lines);
        return;
    }
    for (int k = 1; k <= kLineCount; ++k)
        lines[k].clear();
}

QByteArray settingsBytes(const SetupLines &lines)
{
    qsizetype size = 0;
    for (int k = 1; k <= kLineCount; ++k)
        size += 2 * lines[k].size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (int k = 1; k <= kLineCount; ++k) {
        appendCp932(bytes, singleLine(lines[k]));
        bytes += "\r\n";
    }
    return bytes;
}

SaveResult writeSettingsFile(const QString &path, const SetupLines &lines)
{
    if (!cp932Available())
        return failure(path, QStringLiteral("Shift-JIS (windows-31j) の変換が使えません。"));
    const QByteArray bytes = settingsBytes(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    // commit() alone takes a short write in its final flush for success (Qt 6.4), which would
    // put a cut-off file in place when the disk fills up; so the flush is checked here.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return failure(path, QStringLiteral("書き込みが最後まで終わりませんでした"
                                            "（ディスクの空きが足りない可能性があります）。"));
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {};
}

QString saveFailedMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("設定ファイル %1 を保存できませんでした。\n理由: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace settings
