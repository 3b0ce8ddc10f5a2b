// Saving set_up.ini survives being killed at any moment: a program that saves through the
// program's own writeSettingsFile without pause is killed (SIGKILL) again and again, and after
// every kill the file is whole, either the one before the save under way or the one after it.
#include "support/file_bytes.h"
#include "support/save_contents.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/prctl.h>
#include <thread>

namespace {

constexpr int kKills = 250;
// A kill comes after 0..3 whole saves, at a random moment of the saves that follow.
constexpr int kMostSavesBeforeKill = 3;
constexpr int kLongestDelayMicroseconds = 20000;

QByteArray fileAfterSaves(int saves)
{
    return settings::settingsBytes(save_test::contents(saves % 2));
}

struct Kill
{
    bool killed = false;
    // What the program said when it ended by itself.
    QByteArray error;
    int savesDone = 0;
    bool duringSave = false;
};

} // namespace

class TestCrashSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contentsDifferAndCannotBeMistaken();
    void killedWhileSavingLeavesOldOrNewFile();

private:
    // Starts the saving program on the file, lets it finish the given number of saves, kills it
    // after the delay, and tells how far it got.
    Kill killWhileSaving(const QString &path, int savesFirst, std::chrono::microseconds delay);

    QTemporaryDir m_folder;
};

void TestCrashSafeSave::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(QFile::exists(QStringLiteral(SAVE_LOOP_EXECUTABLE)));
}

void TestCrashSafeSave::contentsDifferAndCannotBeMistaken()
{
    const QByteArray before = fileAfterSaves(0);
    const QByteArray after = fileAfterSaves(1);
    QCOMPARE(before.count("\r\n"), 326);
    QCOMPARE(after.count("\r\n"), 326);
    // Neither is the beginning of the other, so a cut file matches neither.
    QVERIFY(before.size() < after.size());
    QVERIFY(!after.startsWith(before.left(64)));
}

Kill TestCrashSafeSave::killWhileSaving(const QString &path, int savesFirst,
                                        std::chrono::microseconds delay)
{
    QProcess process;
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(QStringLiteral(SAVE_LOOP_EXECUTABLE), {path});
    if (!process.waitForStarted(10000))
        return {};
    // The delay counts from the start of a save, past the program's own start-up.
    QByteArray marks;
    while ((marks.count('>') < savesFirst || !marks.contains('<')) && process.state() == QProcess::Running) {
        process.waitForReadyRead(10000);
        marks += process.readAllStandardOutput();
    }
    std::this_thread::sleep_for(delay);
    // A process that has ended has no id (0), and kill(0) would reach the whole process group.
    if (const qint64 id = process.processId(); id > 0)
        ::kill(pid_t(id), SIGKILL);
    process.waitForFinished(10000);

    marks += process.readAllStandardOutput();
    Kill kill;
    kill.savesDone = int(marks.count('>'));
    kill.duringSave = marks.count('<') > kill.savesDone;
    kill.killed = process.exitStatus() == QProcess::CrashExit;
    kill.error = process.readAllStandardError();
    return kill;
}

void TestCrashSafeSave::killedWhileSavingLeavesOldOrNewFile()
{
    const QString path = m_folder.filePath(QStringLiteral("set_up.ini"));
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> savesFirst(0, kMostSavesBeforeKill);
    std::uniform_int_distribution<int> delays(0, kLongestDelayMicroseconds);
    int duringSave = 0;
    int afterSaves = 0;
    for (int i = 0; i < kKills; ++i) {
        QVERIFY(writeBytes(path, fileAfterSaves(0)));
        const Kill kill = killWhileSaving(path, savesFirst(random), std::chrono::microseconds(delays(random)));
        const QByteArray found = fileBytes(path);
        QVERIFY2(kill.killed, kill.error.isEmpty() ? "save_loop did not run" : kill.error.constData());

        QVERIFY2(QFile::exists(path), qPrintable(QStringLiteral("kill %1: the file is gone").arg(i)));
        const bool isOld = found == fileAfterSaves(kill.savesDone);
        const bool isNew = kill.duringSave && found == fileAfterSaves(kill.savesDone + 1);
        QVERIFY2(isOld || isNew,
                 qPrintable(QStringLiteral("kill %1 after %2 saves%3: a file of %4 bytes, %5 lines")
                                .arg(i).arg(kill.savesDone)
                                .arg(kill.duringSave ? QStringLiteral(", during the next") : QString())
                                .arg(found.size()).arg(found.count("\r\n"))));
        duringSave += kill.duringSave ? 1 : 0;
        afterSaves += kill.savesDone > 0 ? 1 : 0;
    }
    const QStringList leftovers = QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden)
                                      .filter(QStringLiteral("set_up.ini."));
    qInfo("%d kills survived: %d during a save, %d after at least one whole save; "
          "%lld temporary files left beside set_up.ini",
          kKills, duringSave, afterSaves, qlonglong(leftovers.size()));
    // The kills must really fall while saving, or the test proves nothing; the program does
    // nothing else between its saves but mark them.
    QVERIFY2(duringSave >= kKills / 2, qPrintable(QStringLiteral("only %1 kills fell during a save").arg(duringSave)));
    QVERIFY(afterSaves >= kKills / 2);
}

QTEST_GUILESS_MAIN(TestCrashSafeSave)
#include "tst_crash_safe_save.moc"
