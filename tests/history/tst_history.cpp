// The history of lotteries: recording, finishing and reading back, removing, the CSV, a damaged
// file moved aside, two copies on one file, and `amidakuji --history-csv`.
#include "history.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kFixed(QDate(2026, 12, 7), QTime(13, 44, 5));

// A lottery as standby gives it (group 3, one winner); the history sets the state and the stamp.
HistoryLottery lottery(const QString &memo, const QDateTime &fixedAt, int mode = 0, int round = 1,
                       const QList<HistoryRow> &rows = {{"太郎", "あたり"}, {"花子", QString()}})
{
    return {.id = 0, .fixedAt = fixedAt, .finishedAt = {}, .group = 3, .memo = memo, .mode = mode,
            .participants = int(rows.size()), .winners = 1, .round = round, .state = {}, .rows = rows};
}

QStringList memos(const QList<HistoryLottery> &found)
{
    QStringList result;
    for (const HistoryLottery &l : found)
        result << l.memo;
    return result;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QString("h%1/history.sqlite3").arg(++m_count)); }
    void finishing_data();
    void finishing();
    void newestFirstAndRemove_data();
    void newestFirstAndRemove();
    void csv_data();
    void csv();
    void damagedFileMovedAside_data();
    void damagedFileMovedAside();
    void noHistoryPossible();
    void twoCopiesOnOneFile();
    void csvCommand_data();
    void csvCommand();

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_count = 0;
};

// Steps: complete or abandon, "refused" when the call must return false and change nothing.
void TestHistory::finishing_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("state");
    QTest::newRow("left open") << QStringList{} << "記録中";
    QTest::newRow("every path traced") << QStringList{"complete"} << "完了";
    QTest::newRow("abandoned") << QStringList{"abandon"} << "中断";
    QTest::newRow("completed stays") << QStringList{"complete", "abandon refused", "complete refused"} << "完了";
    QTest::newRow("abandoned stays") << QStringList{"abandon", "complete refused"} << "中断";
}

// Every field comes back as recorded, from a new opening of the file.
void TestHistory::finishing()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, state);
    const HistoryLottery recorded = lottery(QString(), kFixed, 1, 2, {{"a", "1等"}, {"b", QString()}, {"c", "3等"}});
    const QDateTime finished = kFixed.addSecs(42);
    qint64 id = 0;
    {
        History history;
        QVERIFY2(history.open(m_path), qPrintable(history.error()));
        QVERIFY(history.notice().isEmpty());
        id = history.recordStandby(recorded);
        QVERIFY(id > 0);
        for (const QString &step : steps)
            QCOMPARE(step.startsWith("complete") ? history.complete(id, finished) : history.abandon(id),
                     !step.endsWith("refused"));
    }
    History again;
    QVERIFY(again.open(m_path));
    const QList<HistoryLottery> found = again.lotteries();
    QCOMPARE(found.size(), 1);
    const HistoryLottery &l = found[0];
    QCOMPARE(std::tuple(l.id, l.state, l.finishedAt), std::tuple(id, state, state == "完了" ? finished : QDateTime()));
    QCOMPARE(std::tuple(l.fixedAt, l.memo, l.group, l.mode, l.participants, l.winners, l.round),
             std::tuple(kFixed, QString(), 3, 1, 3, 1, 2));
    QCOMPARE(l.rows, recorded.rows);
}

void TestHistory::newestFirstAndRemove_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("left");
    // Recorded in the order early, late, middle, late twin: newest fixedAt first, then the later record.
    const QStringList all{"late twin", "late", "middle", "early"};
    QTest::newRow("nothing removed") << QStringList{} << all;
    QTest::newRow("one removed") << QStringList{"late"} << QStringList{"late twin", "middle", "early"};
    QTest::newRow("two removed") << QStringList{"early", "late twin"} << QStringList{"late", "middle"};
}

void TestHistory::newestFirstAndRemove()
{
    QFETCH(QStringList, removed);
    QFETCH(QStringList, left);
    History history;
    QVERIFY(history.open(m_path));
    QHash<QString, qint64> ids;
    for (const auto &[memo, seconds] : QList<std::pair<QString, int>>{{"early", 0}, {"late", 60}, {"middle", 30}, {"late twin", 60}})
        ids[memo] = history.recordStandby(lottery(memo, kFixed.addSecs(seconds)));
    QList<qint64> gone{999999};
    for (const QString &memo : removed)
        gone << ids[memo];
    QVERIFY(history.remove(gone));
    QCOMPARE(memos(history.lotteries()), left);
    // No row of a removed lottery is left behind (two rows for each lottery left).
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
        raw.setDatabaseName(m_path);
        QVERIFY(raw.open());
        QSqlQuery count("SELECT count(*) FROM participant", raw);
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toInt(), 2 * left.size());
    }
    QSqlDatabase::removeDatabase("raw");
}

void TestHistory::csv_data()
{
    QTest::addColumn<HistoryLottery>("recorded");
    QTest::addColumn<QStringList>("lines");
    const QString when = "2026/12/07 13:44:05,3,";
    QTest::newRow("winner mode, no win is empty")
        << lottery("", kFixed) << QStringList{when + ",あたり,1,完了,太郎,あたり", when + ",あたり,1,完了,花子,"};
    QTest::newRow("lottery mode, round 2")
        << lottery("夏", kFixed, 1, 2, {{"a", "1等"}}) << QStringList{when + "夏,くじ引き,2,完了,a,1等"};
    QTest::newRow("number mode, quoted as Excel does")
        << lottery("a,b", kFixed, 2, 1, {{"say \"hi\"", "1"}, {"two\r\nlines", "2"}})
        << QStringList{when + "\"a,b\",番号,1,完了,\"say \"\"hi\"\"\",1", when + "\"a,b\",番号,1,完了,\"two\r\nlines\",2"};
}

void TestHistory::csv()
{
    QFETCH(HistoryLottery, recorded);
    QFETCH(QStringList, lines);
    recorded.state = "完了";
    const QByteArray expected = ("日時,グループ,メモ,モード,回,状態,名前,結果\r\n" + lines.join("\r\n") + "\r\n").toUtf8();
    QCOMPARE(historyCsv({recorded}, false), expected);
    QCOMPARE(historyCsv({recorded}, true), "\xEF\xBB\xBF" + expected);
}

void TestHistory::damagedFileMovedAside_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("garbage") << 0 << QByteArray("this is no database\n").repeated(300) << true;
    // Past the 100-byte header, over the first page: the tables are gone, the header stays.
    QTest::newRow("first page overwritten") << 100 << QByteArray("\x5a").repeated(4096) << true;
    QTest::newRow("healthy") << 0 << QByteArray() << false;
}

void TestHistory::damagedFileMovedAside()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, damaged);
    {
        History first;
        QVERIFY(first.open(m_path));
        first.complete(first.recordStandby(lottery("kept", kFixed)), kFixed);
    }
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(offset) && file.write(bytes) == bytes.size());
    file.close();
    const QByteArray before = fileBytes(m_path);

    History history;
    QVERIFY2(history.open(m_path), qPrintable(history.error()));
    const QStringList aside = QDir(QFileInfo(m_path).path()).entryList({"history.sqlite3.damaged-*"});
    QCOMPARE(aside.size(), damaged ? 1 : 0);
    QCOMPARE(memos(history.lotteries()), damaged ? QStringList{} : QStringList{"kept"});
    QCOMPARE(history.notice().isEmpty(), !damaged);
    if (!damaged)
        return;
    QVERIFY(aside[0].contains(QRegularExpression("^history\\.sqlite3\\.damaged-\\d{8}-\\d{6}$")));
    QCOMPARE(fileBytes(QFileInfo(m_path).path() + "/" + aside[0]), before);
    QVERIFY2(history.notice().contains(aside[0]) && history.notice().contains(m_path), qPrintable(history.notice()));
    QVERIFY(history.recordStandby(lottery("new", kFixed)) > 0);
    History again;
    QVERIFY(again.open(m_path));
    QVERIFY(again.notice().isEmpty());
    QCOMPARE(memos(again.lotteries()), QStringList{"new"});
}

// A folder that cannot be made: no history, and every call says so instead of failing the lottery.
void TestHistory::noHistoryPossible()
{
    QVERIFY(QFile(m_dir.filePath("plain")).open(QIODevice::WriteOnly));
    History history;
    QVERIFY(!history.open(m_dir.filePath("plain/history.sqlite3")));
    QVERIFY(!history.error().isEmpty());
    QCOMPARE(history.recordStandby(lottery("lost", kFixed)), 0);
    QVERIFY(!history.error().isEmpty());
    QVERIFY(history.lotteries().isEmpty());
}

void TestHistory::twoCopiesOnOneFile()
{
    History a, b;
    QVERIFY(a.open(m_path) && b.open(m_path));
    const qint64 fromA = a.recordStandby(lottery("from a", kFixed));
    const qint64 fromB = b.recordStandby(lottery("from b", kFixed.addSecs(1)));
    QVERIFY(fromA > 0 && fromB > fromA);
    QVERIFY(a.complete(fromA, kFixed) && b.abandon(fromB));
    for (History *copy : {&a, &b}) {
        const QList<HistoryLottery> found = copy->lotteries();
        QCOMPARE(memos(found), QStringList({"from b", "from a"}));
        QCOMPARE(QStringList({found[0].state, found[1].state}), QStringList({"中断", "完了"}));
    }
}

void TestHistory::csvCommand_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("lotteries");
    QTest::newRow("standard output") << "-" << 2;
    QTest::newRow("file") << "out.csv" << 2;
    QTest::newRow("no history yet") << "-" << 0;
}

// The real program, without a display, writes what historyCsv makes of the history.
void TestHistory::csvCommand()
{
    QFETCH(QString, target);
    QFETCH(int, lotteries);
    QTemporaryDir data;
    const QString path = data.filePath("amidakuji/history.sqlite3");
    QList<HistoryLottery> recorded;
    if (lotteries > 0) {
        History history;
        QVERIFY(history.open(path));
        for (int i = 0; i < lotteries; ++i)
            history.complete(history.recordStandby(lottery(QString("memo, %1").arg(i), kFixed.addDays(i), i)), kFixed);
        recorded = history.lotteries();
        QCOMPARE(recorded.size(), lotteries);
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert("XDG_DATA_HOME", data.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(data.path());
    program.start(AMIDAKUJI_EXECUTABLE, {"--history-csv", target});
    QVERIFY(program.waitForFinished(30000));
    QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
    const bool toFile = target != "-";
    QCOMPARE(toFile ? fileBytes(data.filePath(target)) : program.readAllStandardOutput(), historyCsv(recorded, toFile));
    QCOMPARE(QFileInfo::exists(path), lotteries > 0);
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
