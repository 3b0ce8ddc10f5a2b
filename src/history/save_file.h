#pragma once
// One way to save a file the user named: the history's CSV (from its window and from the command
// line) and the window's picture.

#include <QString>

#include <functional>

class QIODevice;

// Writes to target through write: a regular file (or a new one) is replaced whole or not at all;
// anything else that can be written (a pipe, a device, /dev/stdout) is written straight. A folder
// or a path that cannot be written fails; error then names the file and says why in Japanese (the
// system's own words go to the log).
bool saveFile(const QString &target, const std::function<bool(QIODevice &)> &write, QString *error);
