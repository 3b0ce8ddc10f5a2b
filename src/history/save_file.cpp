// Saving a file the user named (an export, a picture) without harming what the name stands for.
#include "save_file.h"
#include "history.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <unistd.h>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Why a file could not be written, in the words a user reads; the system's own words go to the log.
QString writeFailure(const QString &path, const QFileDevice &file)
{
    qCWarning(lcHistory, "cannot write %s: %s", qPrintable(native(path)), qPrintable(file.errorString()));
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return QStringLiteral("%1 に書き込めません。フォルダーがないか、書き込みが許されていません。").arg(native(path));
    case QFileDevice::ResourceError:
        return QStringLiteral("%1 に書き込めません。ディスクがいっぱいです。").arg(native(path));
    default:
        return QStringLiteral("%1 への書き込みに失敗しました。").arg(native(path));
    }
}

} // namespace

bool saveFile(const QString &target, const std::function<bool(QIODevice &)> &write, QString *error)
{
    const QFileInfo info(target);
    if (info.isDir()) {
        *error = QStringLiteral("%1 はフォルダーです。ファイルの名前を指定してください。").arg(native(target));
        return false;
    }
    // A file (or none yet) is replaced whole or not at all, so an older export is never left cut
    // short; through a link, the file it leads to is replaced.
    if (!info.exists() || info.isFile()) {
        const QString path = info.exists() ? info.canonicalFilePath() : target;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit()) {
            *error = writeFailure(target, file);
            return false;
        }
        return true;
    }
    // A pipe, a device, a terminal: written straight, never replaced by a file. One of this
    // process's own descriptors is written through the descriptor itself: opening it again by name
    // needs rights on a pipe that another user (the shell under sudo) may own.
    QFile stream(target);
    static const QRegularExpression descriptorPath(QStringLiteral("^/(?:dev/(stdout|stderr)|dev/fd/(\\d+)|proc/self/fd/(\\d+))$"));
    const QRegularExpressionMatch descriptor = descriptorPath.match(target);
    const int fd = !descriptor.hasMatch()                 ? -1
        : descriptor.captured(1) == QLatin1String("stdout") ? STDOUT_FILENO
        : descriptor.captured(1) == QLatin1String("stderr") ? STDERR_FILENO
                                                            : (descriptor.captured(2) + descriptor.captured(3)).toInt();
    const bool opened = fd >= 0 ? stream.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
                                : stream.open(QIODevice::WriteOnly);
    if (!opened || !write(stream) || !stream.flush() || stream.error() != QFileDevice::NoError) {
        *error = writeFailure(target, stream);
        return false;
    }
    return true;
}

