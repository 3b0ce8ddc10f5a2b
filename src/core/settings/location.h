#pragma once
// Which folder holds set_up.ini.

#include <QString>

namespace settings {

struct SettingsPaths
{
    QString readPath;  // where start-up reads set_up.ini
    QString writePath; // where saving writes it
};

// While the program may write its own folder (a portable copy), set_up.ini lives there. Otherwise
// it is saved into the user's configuration folder, <configFolder>/amidakuji/set_up.ini, and read
// from there once that file exists; until then the file beside the program is read, so a copy
// with its settings on a read-only medium keeps them (the first save copies them over). Without
// a configuration folder the program's folder is all there is.
SettingsPaths settingsPaths(const QString &programFolder, bool programFolderWritable,
                            const QString &configFolder, bool perUserFileExists);

// The per-user file: <configFolder>/amidakuji/set_up.ini.
QString perUserSettingsFile(const QString &configFolder);

// Whether the program may create and replace files in the folder. Three things must allow it:
// - the system (access(2) with W_OK | X_OK), which also refuses on a read-only mount;
// - the folder's permission bits for the class the user falls into (owner, group or others).
//   Root passes access(2) everywhere, so for root these bits are what "cannot be written"
//   means: a folder marked read-only (mode 555) or owned by another user without write
//   permission for others is left alone;
// - for root, the folder lies outside /usr and /opt, where installed programs live and which stay
//   read-only while programs run (root owns /usr/bin with write permission). Another user who
//   owns a writable folder there keeps the settings in it.
bool folderWritable(const QString &folder);

} // namespace settings
