// The history killed (SIGKILL) at random moments while two copies of record_loop record into it at
// once, as two copies of the program would: after every kill each lottery committed before it is
// still there, whole and in its last state, nothing half-written shows (the traced results are the
// first ones, each as traced), a lottery its killed copy left open is found abandoned, SQLite's
// integrity check says ok and the history opens without being taken for damaged.
#include "support/history_rows.h"
#include "history/loop_lottery.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace {

constexpr int kRounds = 100;
constexpr int kCopies = 2;
// Every few rounds the copies are killed while they may still be opening the history.
constexpr int kOpeningRoundEvery = 8;
// The most lotteries a copy begins before it is killed, apart from those it records while the
// kill is on its way.
constexpr int kMostLotteriesPerCopy = 40;

const QString kAbsent = QStringLiteral("absent");

QString finalState(qint64 sequence)
{
    return record_loop::abandoned(sequence) ? QStringLiteral("中断") : QStringLiteral("完了");
}

// Whether a record holds what record_loop wrote for its sequence number, in the given state: the
// paths traced first in name-box order with their results, every one of them when the lottery
// reached its last step (whole), the others without a result.
QString wrongIn(const HistoryLottery &found, const QString &state, bool whole)
{
    const qint64 sequence = record_loop::sequenceOf(found.memo);
    const HistoryLottery made = record_loop::lottery(sequence);
    if (found.state != state)
        return QStringLiteral("state %1 instead of %2").arg(found.state, state);
    const QDateTime finished = state == QStringLiteral("完了") ? record_loop::finishedAt(sequence) : QDateTime();
    if (found.fixedAt != made.fixedAt || found.finishedAt != finished || found.group != made.group
        || found.mode != made.mode || found.participants != made.participants || found.winners != made.winners
        || found.round != made.round || found.rows.size() != made.rows.size())
        return QStringLiteral("its contents differ from what was recorded");
    int traced = 0;
    while (traced < found.rows.size() && found.rows[traced].traced)
        ++traced;
    for (int i = 0; i < found.rows.size(); ++i) {
        const HistoryRow expected{made.rows[i].name, i < traced ? made.rows[i].result : QString(), i < traced};
        if (found.rows[i] != expected)
            return QStringLiteral("participant %1 differs from what was traced").arg(i);
    }
    if ((whole || state == QStringLiteral("完了")) && traced != record_loop::tracedCount(sequence))
        return QStringLiteral("%1 paths traced instead of %2").arg(traced).arg(record_loop::tracedCount(sequence));
    return {};
}

QString integrityCheck(const QString &path)
{
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("PRAGMA integrity_check")))
            result = QStringLiteral("cannot check: ") + db.lastError().text() + query.lastError().text();
        while (query.next())
            result += query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

} // namespace

class TestKilledWhileRecording : public QObject
{
    Q_OBJECT

private slots:
    void committedLotteriesSurviveEveryKill();

private:
    std::unique_ptr<QProcess> startCopy(qint64 first);
    // Compares the history with what the copies reported; empty when all is well.
    QString check(const QSet<qint64> &finished, const QSet<qint64> &underWay);

    QTemporaryDir m_folder;
    QString m_path;
    // Every lottery settled by an earlier round: its state, or kAbsent for one killed before its
    // record was committed. None of them may change afterwards.
    QHash<qint64, QString> m_settled;
    // Lotteries checked, summed over the rounds.
    qint64 m_checked = 0;
};

std::unique_ptr<QProcess> TestKilledWhileRecording::startCopy(qint64 first)
{
    auto copy = std::make_unique<QProcess>();
    // Dies with the test, whatever ends it.
    copy->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    copy->start(QStringLiteral(RECORD_LOOP_EXECUTABLE), {m_path, QString::number(first)});
    copy->waitForStarted(10000);
    return copy;
}

QString TestKilledWhileRecording::check(const QSet<qint64> &finished, const QSet<qint64> &underWay)
{
    const QString integrity = integrityCheck(m_path);
    if (integrity != QLatin1String("ok"))
        return QStringLiteral("integrity check: ") + integrity;
    History history;
    if (!history.open(m_path) || !history.notice().isEmpty())
        return QStringLiteral("the history did not open as it was: %1%2").arg(history.error(), history.notice());
    QHash<qint64, QString> seen;
    for (const HistoryLottery &found : withRows(history)) {
        const qint64 sequence = record_loop::sequenceOf(found.memo);
        // A lottery under way at the kill may have got as far as its record or its last step; one
        // its dead copy left open is abandoned when the history is opened.
        QString state = m_settled.value(sequence);
        if (finished.contains(sequence) || (underWay.contains(sequence) && found.state == finalState(sequence)))
            state = finalState(sequence);
        else if (underWay.contains(sequence))
            state = QStringLiteral("中断");
        if (state.isEmpty() || state == kAbsent)
            return QStringLiteral("lottery %1 should not be there").arg(sequence);
        if (const QString wrong = wrongIn(found, state, finished.contains(sequence)); !wrong.isEmpty())
            return QStringLiteral("lottery %1: %2").arg(sequence).arg(wrong);
        seen.insert(sequence, found.state);
        ++m_checked;
    }
    for (auto it = m_settled.cbegin(); it != m_settled.cend(); ++it) {
        if (it.value() != kAbsent && !seen.contains(it.key()))
            return QStringLiteral("lottery %1 of an earlier round is lost").arg(it.key());
    }
    for (const qint64 sequence : finished) {
        if (!seen.contains(sequence))
            return QStringLiteral("committed lottery %1 is lost").arg(sequence);
    }
    for (const qint64 sequence : underWay)
        m_settled.insert(sequence, seen.value(sequence, kAbsent));
    for (const qint64 sequence : finished)
        m_settled.insert(sequence, seen.value(sequence));
    return {};
}

void TestKilledWhileRecording::committedLotteriesSurviveEveryKill()
{
    QVERIFY(m_folder.isValid());
    m_path = m_folder.filePath(QStringLiteral("history.sqlite3"));
    QRandomGenerator random(20261207);
    int kills = 0, killedWhileRecording = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int c = 0; c < kCopies; ++c)
            copies.push_back(startCopy(qint64(round * kCopies + c) * 1'000'000));
        QByteArray output[kCopies];
        QSet<qint64> finished, underWay;
        // Each copy is killed as it begins its k-th lottery (in the opening rounds, k = 0: at a
        // moment of its start-up), so few lotteries pile up between the checks.
        const bool opening = round % kOpeningRoundEvery == 0;
        if (opening)
            QThread::msleep(random.bounded(40));
        int due[kCopies];
        for (int &k : due)
            k = opening ? 0 : random.bounded(1, kMostLotteriesPerCopy);
        // Every copy's output is read all along, so that none waits on a full pipe.
        const QDeadlineTimer deadline(20000);
        for (bool waiting = !opening; waiting && !deadline.hasExpired();) {
            waiting = false;
            for (int c = 0; c < kCopies; ++c) {
                copies[c]->waitForReadyRead(1);
                output[c] += copies[c]->readAllStandardOutput();
                if (output[c].count('<') >= due[c])
                    copies[c]->kill();
                else
                    waiting = waiting || copies[c]->state() == QProcess::Running;
            }
        }
        for (int c = 0; c < kCopies; ++c) {
            copies[c]->kill();
            ++kills;
            QVERIFY2(copies[c]->state() == QProcess::NotRunning || copies[c]->waitForFinished(10000),
                     qPrintable(QStringLiteral("round %1: copy %2 did not end: %3").arg(round).arg(c).arg(copies[c]->errorString())));
            output[c] += copies[c]->readAllStandardOutput();
            QVERIFY2(copies[c]->exitStatus() == QProcess::CrashExit,
                     qPrintable(QStringLiteral("round %1: copy %2 ended before the kill (exit code %3, %4): %5")
                                    .arg(round).arg(c).arg(copies[c]->exitCode()).arg(copies[c]->errorString())
                                    .arg(QString::fromLocal8Bit(copies[c]->readAllStandardError()))));
            const QList<QByteArray> marks = output[c].split('\n');
            for (const QByteArray &mark : marks) {
                if (mark.startsWith('<'))
                    underWay.insert(mark.mid(1).toLongLong());
                else if (mark.startsWith('>'))
                    finished.insert(mark.mid(1).toLongLong());
            }
            if (marks.size() > 1 && marks[marks.size() - 2].startsWith('<'))
                ++killedWhileRecording;
        }
        underWay -= finished;
        const QString fault = check(finished, underWay);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("after round %1: %2").arg(round).arg(fault)));
    }
    const qsizetype kept = std::count_if(m_settled.cbegin(), m_settled.cend(),
                                         [](const QString &state) { return state != kAbsent; });
    qInfo("%d kills (%d while a lottery was being recorded); %lld lotteries kept, all of them checked after every "
          "later kill (%lld checks); integrity ok every time",
          kills, killedWhileRecording, qlonglong(kept), qlonglong(m_checked));
    QVERIFY2(killedWhileRecording > 0, "no kill fell while a lottery was being recorded");
    QVERIFY(QDir(m_folder.path()).entryList({QStringLiteral("*.damaged-*")}).isEmpty());
}

QTEST_GUILESS_MAIN(TestKilledWhileRecording)
#include "tst_killed_while_recording.moc"
