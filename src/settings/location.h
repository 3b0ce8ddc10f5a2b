#pragma once
// Which folder holds set_up.ini.

#include <QString>

namespace settings {

// The program's own folder while the program may write there (a portable copy), else the
// user's configuration folder: <configFolder>/amidakuji/set_up.ini. Without a configuration
// folder the program's folder is all there is.
QString settingsFileLocation(const QString &programFolder, bool programFolderWritable,
                             const QString &configFolder);

// Whether the program may create and replace files in the folder. Three things must allow it:
// - the system (access(2) with W_OK | X_OK), which also refuses on a read-only mount;
// - the folder's permission bits for the class the user falls into (owner, group or others).
//   Root passes access(2) everywhere, so for root these bits are what "cannot be written"
//   means: a folder marked read-only (mode 555) or owned by another user without write
//   permission for others is left alone;
// - the folder lies outside /usr and /opt, where installed programs live and which stay
//   read-only while programs run, for root as well (root owns /usr/bin with write permission).
bool folderWritable(const QString &folder);

} // namespace settings
