#include "location.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace settings {

namespace {

const char kConfigSubfolder[] = "amidakuji";
const char kFileName[] = "set_up.ini";

bool inInstalledProgramsTree(const QString &canonicalFolder)
{
    for (const QString &tree : {QStringLiteral("/usr"), QStringLiteral("/opt")}) {
        if (canonicalFolder == tree || canonicalFolder.startsWith(tree + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool userInGroup(gid_t group)
{
    if (getegid() == group)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(count);
    const int found = getgroups(count, groups.data());
    for (int i = 0; i < found; ++i) {
        if (groups[i] == group)
            return true;
    }
    return false;
}

// Write and search permission as the bits grant them to the user's class, root included.
bool bitsAllowWriting(const struct stat &info)
{
    if (info.st_uid == geteuid())
        return (info.st_mode & (S_IWUSR | S_IXUSR)) == (S_IWUSR | S_IXUSR);
    if (userInGroup(info.st_gid))
        return (info.st_mode & (S_IWGRP | S_IXGRP)) == (S_IWGRP | S_IXGRP);
    return (info.st_mode & (S_IWOTH | S_IXOTH)) == (S_IWOTH | S_IXOTH);
}

} // namespace

QString perUserSettingsFile(const QString &configFolder)
{
    return QDir(QDir(configFolder).filePath(QLatin1String(kConfigSubfolder))).filePath(QLatin1String(kFileName));
}

SettingsPaths settingsPaths(const QString &programFolder, bool programFolderWritable,
                            const QString &configFolder, bool perUserFileExists)
{
    const QString besideProgram = QDir(programFolder).filePath(QLatin1String(kFileName));
    if (programFolderWritable || configFolder.isEmpty())
        return {besideProgram, besideProgram};
    const QString perUser = perUserSettingsFile(configFolder);
    return {perUserFileExists ? perUser : besideProgram, perUser};
}

bool folderWritable(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || (geteuid() == 0 && inInstalledProgramsTree(canonical)))
        return false;
    const QByteArray path = QFile::encodeName(canonical);
    struct stat info;
    if (stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return access(path.constData(), W_OK | X_OK) == 0 && bitsAllowWriting(info);
}

} // namespace settings
