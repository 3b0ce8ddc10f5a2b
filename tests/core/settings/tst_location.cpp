// Where set_up.ini is kept: beside a portable copy, or in the user's configuration folder.
#include "settings/location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace settings;

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// Whether the folder counts as writable for the user nobody, asked in a child process that
// becomes that user.
bool writableForNobody(const QString &folder)
{
    const pid_t child = fork();
    if (child == 0) {
        const bool becameNobody = setgroups(0, nullptr) == 0 && setgid(kNogroup) == 0 && setuid(kNobody) == 0;
        _exit(becameNobody ? (folderWritable(folder) ? 0 : 1) : 2);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2)
        qFatal("could not ask as the user nobody");
    return WEXITSTATUS(status) == 0;
}

} // namespace

class TestLocation : public QObject
{
    Q_OBJECT

private slots:
    void location_data();
    void location();
    void folderModes_data();
    void folderModes();
    void notAFolder();
    void installedProgramsTreesAreLeftAlone_data();
    void installedProgramsTreesAreLeftAlone();
    void rootHeedsOtherUsersFolders_data();
    void rootHeedsOtherUsersFolders();
    void installedProgramsTreesOnlyForRoot();
};

// Rows: the program's folder and whether it may be written, the user's configuration folder and
// whether the per-user file is there yet; where set_up.ini is read and where it is saved.
void TestLocation::location_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("configFolder");
    QTest::addColumn<bool>("perUserFile");
    QTest::addColumn<QString>("readPath");
    QTest::addColumn<QString>("writePath");
    const QString beside = QStringLiteral("/media/aoi/USB/くじ/set_up.ini");
    const QString perUser = QStringLiteral("/home/aoi/.config/amidakuji/set_up.ini");
    QTest::newRow("portable copy") << "/home/aoi/くじ" << true << "/home/aoi/.config" << false
                                   << "/home/aoi/くじ/set_up.ini" << "/home/aoi/くじ/set_up.ini";
    QTest::newRow("portable copy beside a per-user file")
        << "/home/aoi/くじ" << true << "/home/aoi/.config" << true << "/home/aoi/くじ/set_up.ini"
        << "/home/aoi/くじ/set_up.ini";
    QTest::newRow("read-only copy, first start") << "/media/aoi/USB/くじ" << false << "/home/aoi/.config"
                                                 << false << beside << perUser;
    QTest::newRow("read-only copy, saved once") << "/media/aoi/USB/くじ" << false << "/home/aoi/.config"
                                                << true << perUser << perUser;
    QTest::newRow("installed, saved once") << "/usr/bin" << false << "/home/aoi/.config" << true << perUser
                                           << perUser;
    QTest::newRow("config folder with a slash") << "/usr/bin" << false << "/root/.config/" << true
                                                << "/root/.config/amidakuji/set_up.ini"
                                                << "/root/.config/amidakuji/set_up.ini";
    QTest::newRow("no config folder") << "/usr/bin" << false << "" << false << "/usr/bin/set_up.ini"
                                      << "/usr/bin/set_up.ini";
}

void TestLocation::location()
{
    QFETCH(QString, programFolder);
    QFETCH(bool, writable);
    QFETCH(QString, configFolder);
    QFETCH(bool, perUserFile);
    QFETCH(QString, readPath);
    QFETCH(QString, writePath);
    const SettingsPaths paths = settingsPaths(programFolder, writable, configFolder, perUserFile);
    QCOMPARE(paths.readPath, readPath);
    QCOMPARE(paths.writePath, writePath);
}

// Rows: the mode of a folder the user owns. Root too is held to the bits.
void TestLocation::folderModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("writable");
    QTest::newRow("0700") << 0700 << true;
    QTest::newRow("0755") << 0755 << true;
    QTest::newRow("0555 read-only") << 0555 << false;
    QTest::newRow("0500 read-only") << 0500 << false;
    QTest::newRow("0600 not searchable") << 0600 << false;
    QTest::newRow("0077 only for others") << 0077 << false;
}

void TestLocation::folderModes()
{
    QFETCH(int, mode);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path());
    QCOMPARE(chmod(path.constData(), mode_t(mode)), 0);
    const bool result = folderWritable(dir.path());
    chmod(path.constData(), 0700);
    QCOMPARE(result, writable);
}

void TestLocation::notAFolder()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!folderWritable(file.fileName()));
    QVERIFY(!folderWritable(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!folderWritable(QString()));
    QVERIFY(folderWritable(dir.path()));
}

// Rows: a folder below a temporary one, and whether it counts as an installed-programs tree.
void TestLocation::installedProgramsTreesAreLeftAlone_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("writable");
    QTest::newRow("/usr/bin") << "bin" << "/usr/bin" << false;
    QTest::newRow("/usr") << "usr" << "/usr" << false;
    QTest::newRow("a folder merely named usr") << "" << "usr" << true;
    QTest::newRow("a folder named usrlocal") << "" << "usrlocal" << true;
}

void TestLocation::installedProgramsTreesAreLeftAlone()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    QString folder;
    if (link.isEmpty()) {
        QVERIFY(QDir(dir.path()).mkdir(target));
        folder = dir.filePath(target);
    } else {
        // Through a symbolic link, as a program started from a linked folder sees it.
        folder = dir.filePath(link);
        QVERIFY(QFile::link(target, folder));
    }
    QCOMPARE(folderWritable(folder), writable);
}

// Rows: the mode of a folder owned by another user. Only root can make one to test.
void TestLocation::rootHeedsOtherUsersFolders_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("writable");
    QTest::newRow("0755") << 0755 << false;
    QTest::newRow("0775 writable for the group only") << 0775 << false;
    QTest::newRow("0757 writable for others") << 0757 << true;
    QTest::newRow("1777 like /tmp") << 01777 << true;
}

void TestLocation::rootHeedsOtherUsersFolders()
{
    if (geteuid() != 0)
        QSKIP("only root can give a folder to another user");
    QFETCH(int, mode);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path());
    QCOMPARE(chown(path.constData(), kNobody, kNogroup), 0);
    QCOMPARE(chmod(path.constData(), mode_t(mode)), 0);
    const bool result = folderWritable(dir.path());
    QCOMPARE(chown(path.constData(), 0, 0), 0);
    QCOMPARE(result, writable);
}

// A folder under /opt is left alone by root, but a user who owns it writes the settings there.
void TestLocation::installedProgramsTreesOnlyForRoot()
{
    if (geteuid() != 0)
        QSKIP("only root can make a folder under /opt and ask as another user");
    QTemporaryDir dir(QStringLiteral("/opt/amidakuji-test-XXXXXX"));
    if (!dir.isValid())
        QSKIP("/opt cannot be written here");
    const QByteArray path = QFile::encodeName(dir.path());
    QCOMPARE(chown(path.constData(), kNobody, kNogroup), 0);
    QCOMPARE(chmod(path.constData(), 0755), 0);
    QVERIFY(!folderWritable(dir.path()));
    QVERIFY(writableForNobody(dir.path()));
    // The check the child makes is a real one: a folder nobody does not own stays closed to them.
    QCOMPARE(chown(path.constData(), 0, 0), 0);
    QVERIFY(!writableForNobody(dir.path()));
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"
