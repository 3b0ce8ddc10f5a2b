// The history at the scale of years: 10,000 lotteries of 37 participants (370,000 rows). How long
// the history window takes to open with the newest lottery's results shown, and the peak memory
// of `amidakuji --history-csv FILE`. Not part of the test run: build the target bench_history and
// run it, e.g. `bench_history -median 5`.
#include "history.h"
#include "history_dialog.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>


namespace {

constexpr int kLotteries = 10000;
constexpr int kParticipants = 37;

} // namespace

class BenchHistory : public QObject
{
    Q_OBJECT

private slots:
    // The history is made through History (its tables), then filled in one transaction: ten
    // thousand lotteries one by one would take the benchmark far longer than it measures.
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        m_path = m_data.filePath("amidakuji/history.sqlite3");
        {
            History made;
            QVERIFY(made.open(m_path));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(m_path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("DELETE FROM lottery"));
            QVERIFY(query.exec("BEGIN"));
            QVERIFY(query.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                                       " INSERT INTO lottery (id, fixed_at, finished_at, group_number, memo, mode,"
                                       " participants, winners, round, state)"
                                       " SELECT i, 1700000000000 + i * 60000, 1700000000000 + i * 60000 + 30000,"
                                       " 1 + i % 7, '忘年会 ' || i, i % 3, %2, 1, 1, '完了' FROM n")
                                   .arg(kLotteries)
                                   .arg(kParticipants)));
            QVERIFY(query.exec(QString("WITH RECURSIVE p(j) AS (SELECT 0 UNION ALL SELECT j + 1 FROM p WHERE j < %1)"
                                       " INSERT INTO participant (lottery_id, position, name, result, traced)"
                                       " SELECT l.id, p.j, '参加者' || l.id || '-' || p.j, '景品' || p.j, 1"
                                       " FROM lottery l, p")
                                   .arg(kParticipants - 1)));
            QVERIFY(query.exec("COMMIT"));
        }
        QSqlDatabase::removeDatabase("fill");
    }

    // Opening the history and its window, the newest lottery's results shown.
    void openWindow()
    {
        FakeSaveDialog save;
        RecordingMessenger messenger;
        QBENCHMARK {
            History history;
            QVERIFY(history.open(m_path));
            HistoryDialog dialog(history, save, messenger);
            dialog.show();
            QCoreApplication::processEvents();
        }
    }

    // The export's peak memory (resident set, in kilobytes) and time, as GNU time (Debian's package
    // time) reports them: a child forked from this process would count this process's memory too.
    void exportMemory()
    {
        if (!QFileInfo::exists("/usr/bin/time"))
            QSKIP("needs /usr/bin/time (apt install time)");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", m_data.path());
        program.setProcessEnvironment(environment);
        program.start("/usr/bin/time", {"-f", "%M %e", AMIDAKUJI_EXECUTABLE, "--history-csv", m_data.filePath("out.csv")});
        QVERIFY(program.waitForFinished(120000));
        QCOMPARE(program.exitCode(), 0);
        const QStringList measured = QString::fromLocal8Bit(program.readAllStandardError()).trimmed().split(u' ');
        QCOMPARE(measured.size(), 2);
        qInfo("--history-csv: %s s, peak %s KiB resident, %lld bytes written", qPrintable(measured[1]),
              qPrintable(measured[0]), QFileInfo(m_data.filePath("out.csv")).size());
        QTest::setBenchmarkResult(measured[0].toDouble() * 1024, QTest::BytesAllocated);
    }

private:
    QTemporaryDir m_data;
    QString m_path;
};

QTEST_MAIN(BenchHistory)
#include "bench_history.moc"
