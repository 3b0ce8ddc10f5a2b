// Where set_up.ini is kept: beside a portable copy, or in the user's configuration folder.
#include "settings/location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace settings;

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
};

void TestLocation::location_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("configFolder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("portable copy") << "/home/aoi/くじ" << true << "/home/aoi/.config"
                                   << "/home/aoi/くじ/set_up.ini";
    QTest::newRow("installed") << "/usr/bin" << false << "/home/aoi/.config"
                               << "/home/aoi/.config/amidakuji/set_up.ini";
    QTest::newRow("config folder with a slash") << "/usr/bin" << false << "/root/.config/"
                                                << "/root/.config/amidakuji/set_up.ini";
    QTest::newRow("no config folder") << "/usr/bin" << false << "" << "/usr/bin/set_up.ini";
}

void TestLocation::location()
{
    QFETCH(QString, programFolder);
    QFETCH(bool, writable);
    QFETCH(QString, configFolder);
    QFETCH(QString, expected);
    QCOMPARE(settingsFileLocation(programFolder, writable, configFolder), expected);
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
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNogroup = 65534;
    QCOMPARE(chown(path.constData(), kNobody, kNogroup), 0);
    QCOMPARE(chmod(path.constData(), mode_t(mode)), 0);
    const bool result = folderWritable(dir.path());
    QCOMPARE(chown(path.constData(), 0, 0), 0);
    QCOMPARE(result, writable);
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"
