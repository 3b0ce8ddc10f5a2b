// The real program killed (SIGKILL) at random moments while it saves set_up.ini: afterwards the
// file is always the old one or the new one, whole. The program is the test build
// amidakuji_save_pause, whose saves write in eight parts with a pause of 25 ms after each and
// print '<' as they begin, so that the kills can be aimed inside a save.
#include "support/file_bytes.h"
#include "support/x_session.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kKills = 200;
// As in save_pause.cpp.
constexpr int kPausePerPartMs = 25;
constexpr int kParts = 8;

// A file of group 1 with three named participants; the group change rewrites it whole.
QByteArray oldFile()
{
    QList<QByteArray> lines(326);
    for (int g = 1; g <= 7; ++g) {
        lines[g - 1] = "3";
        lines[13 + g - 1] = "1";
    }
    lines[9 - 1] = "0";
    lines[10 - 1] = "0";
    lines[11 - 1] = "0";
    lines[12 - 1] = "0";
    lines[61 - 1] = "old memo";
    for (int i = 0; i < 37; ++i)
        lines[62 + i - 1] = "Old" + QByteArray::number(i);
    return fileOf(lines);
}

} // namespace

class TestKilledWhileSaving : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileIsOldOrNewAfterEveryKill();

private:
    // Starts the program on the old file and clicks the group "＋", which saves; returns once the
    // save has begun, false when no window came or no save began.
    bool startAndSave(QString *error);

    QTemporaryDir m_folder;
    XSession m_x;
    QString m_path;
};

void TestKilledWhileSaving::initTestCase()
{
    const QStringList missing = XSession::missingTools({"Xvfb", "xdotool"});
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: %1 (scripts/test installs them)").arg(missing.join(u' '))));
    QVERIFY(m_folder.isValid());
    m_path = m_folder.filePath(QStringLiteral("set_up.ini"));
    QString error;
    QVERIFY2(m_x.startServer(&error), qPrintable(error));
    QVERIFY2(writeBytes(m_path, oldFile()), "cannot write the old file");
    QVERIFY2(m_x.startProgram(QStringLiteral(SAVE_PAUSE_EXECUTABLE), m_folder.path(), &error), qPrintable(error));
    m_x.killProgram();
}

bool TestKilledWhileSaving::startAndSave(QString *error)
{
    if (!writeBytes(m_path, oldFile())) {
        *error = QStringLiteral("cannot write the old file");
        return false;
    }
    if (!m_x.launchProgram(m_folder.path(), {}, error))
        return false;
    const QString window = m_x.waitForWindow(20000);
    if (window.isEmpty()) {
        *error = QStringLiteral("no window appeared (program still running: %1): %2").arg(m_x.programRunning()).arg(m_x.programOutput());
        return false;
    }
    // cmd_up3 stands at 1800, 240 twips inside the group frame at 120, 0.
    m_x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("140"),
                 QStringLiteral("24"), QStringLiteral("click"), QStringLiteral("1")});
    if (!m_x.waitForProgramOutput("<", 20000)) {
        *error = QStringLiteral("no save began (program still running: %1): %2").arg(m_x.programRunning()).arg(m_x.programOutput());
        return false;
    }
    return true;
}

void TestKilledWhileSaving::fileIsOldOrNewAfterEveryKill()
{
    const QByteArray before = oldFile();
    QString error;

    // One save left to finish gives the new file.
    QVERIFY2(startAndSave(&error), qPrintable(error));
    QDeadlineTimer deadline(15000);
    while (fileBytes(m_path) == before && !deadline.hasExpired())
        QThread::msleep(20);
    const QByteArray after = fileBytes(m_path);
    m_x.killProgram();
    QVERIFY2(after != before, "the group change did not save");
    QCOMPARE(after.count("\r\n"), 326);

    QRandomGenerator random(20261207);
    int oldSeen = 0, newSeen = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QVERIFY2(startAndSave(&error), qPrintable(QStringLiteral("kill %1: %2").arg(kill).arg(error)));
        // From the save's start: within its parts (the old file stays) or after it (the new one).
        QThread::msleep(random.bounded(kParts * kPausePerPartMs + 100));
        m_x.killProgram();
        const QByteArray found = fileBytes(m_path);
        if (found == before)
            ++oldSeen;
        else if (found == after)
            ++newSeen;
        else
            QFAIL(qPrintable(QStringLiteral("after kill %1 the file is neither old nor new (%2 bytes, %3 lines)")
                                 .arg(kill).arg(found.size()).arg(found.count("\r\n"))));
    }
    qInfo("%d kills: %d left the old file, %d the new one", kKills, oldSeen, newSeen);
    QVERIFY2(oldSeen > 0 && newSeen > 0, "the kills never fell on both sides of a save");
}

QTEST_GUILESS_MAIN(TestKilledWhileSaving)
#include "tst_killed_while_saving.moc"
