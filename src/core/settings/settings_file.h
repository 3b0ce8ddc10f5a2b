#pragma once
// Reading and writing set_up.ini: 326 lines, each ended by CR LF, in code page 932.

#include "base/state.h"

#include <QByteArray>
#include <QString>

#include <array>

class QIODevice;

namespace settings {

// Indexed like `setup_lines`: element k is line k of the file; 0 and 327..330 never reach it.
using SetupLines = std::array<QString, LotteryState::SetupLineCount>;

// Reading keeps at most this many bytes of a line (a memo box holds at most 32767 characters
// of up to two bytes); the rest of a longer line is skipped.
constexpr qsizetype kMaxLineBytes = 65536;
// Reading stops after this many bytes, as if the file ended there.
constexpr qint64 kMaxReadBytes = 64 * 1024 * 1024;

// Where saving writes set_up.ini: <folder of the executable>/set_up.ini, or the user's
// configuration folder when the program's folder cannot be written (see location.h); that folder
// is created if missing, so this is asked at each save and never at start-up.
QString settingsFilePath();

// Where start-up reads set_up.ini: the same file, except while the program's folder cannot be
// written and the per-user file does not exist yet; then the file beside the program.
QString settingsReadPath();

// Fills lines 1..326 from the device. A line ends at CR LF, CR or LF; missing lines are empty
// and lines after 326 are ignored. Never fails.
void readSettings(QIODevice &device, SetupLines &lines);

// The same from a file; a missing or unreadable file (or one that is no regular file) leaves
// lines 1..326 empty.
void readSettingsFile(const QString &path, SetupLines &lines);

// The file's bytes: lines 1..326, each as one line in code page 932, followed by CR LF.
QByteArray settingsBytes(const SetupLines &lines);

struct SaveResult
{
    bool ok = true;
    // When not ok: the message for the user, in Japanese, naming the file and the reason.
    QString message;
};

// Replaces the file whole: written to a temporary file in the same folder, then renamed over
// it, so a failure at any point leaves the old file as it was.
SaveResult writeSettingsFile(const QString &path, const SetupLines &lines);

QString saveFailedMessage(const QString &path, const QString &reason);

} // namespace settings
