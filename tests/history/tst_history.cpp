// The history of lotteries: recording, finishing and reading back, removing, the CSV, a damaged
// file moved aside, two copies on one file, and `amidakuji --history-csv`.
#include "support/history_rows.h"
#include "support/other_copy.h"
#include "history.h"
#include "save_file.h"
#include "support/another_user.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QDateTime kFixed(QDate(2026, 12, 7), QTime(13, 44, 5));

// A lottery as standby gives it (group 3, one winner); the history sets the state and the stamp.
// Its rows as they are once traced.
HistoryLottery lottery(const QString &memo, const QDateTime &fixedAt, int mode = 0, int round = 1,
                       const QList<HistoryRow> &rows = {{"太郎", "あたり", true}, {"花子", QString(), true}})
{
    return {.id = 0, .fixedAt = fixedAt, .finishedAt = {}, .group = 3, .memo = memo, .mode = mode,
            .participants = int(rows.size()), .winners = 1, .round = round, .state = {}, .rows = rows, .commitmentHash = {}};
}

// Records a lottery with the first `traced` of its paths traced; its id.
qint64 recordTraced(History &history, const HistoryLottery &made, qsizetype traced)
{
    const qint64 id = history.recordStandby(made);
    for (int i = 0; id != 0 && i < traced; ++i) {
        if (!history.recordTrace(id, i, made.rows[i].result))
            return 0;
    }
    return id;
}

QStringList memos(const QList<HistoryLottery> &found)
{
    QStringList result;
    for (const HistoryLottery &l : found)
        result << l.memo;
    return result;
}

// A file as an earlier version of the program wrote it, made statement by statement.
bool writeEarlierFile(const QString &path, const QStringList &statements)
{
    bool done = QDir().mkpath(QFileInfo(path).path());
    {
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "earlier");
        old.setDatabaseName(path);
        done = done && old.open();
        QSqlQuery query(old);
        for (const QString &statement : statements) {
            if (done && !query.exec(statement)) {
                qWarning("%s", qPrintable(query.lastError().text()));
                done = false;
            }
        }
        query.finish();
        old.close();
    }
    QSqlDatabase::removeDatabase("earlier");
    return done;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QString("h%1/history.sqlite3").arg(++m_count)); }
    void finishing_data();
    void finishing();
    void runningCopyKeepsItsLottery();
    void newestFirstAndRemove_data();
    void newestFirstAndRemove();
    void csv_data();
    void csv();
    void csvCell_data();
    void csvCell();
    void damagedFileMovedAside_data();
    void damagedFileMovedAside();
    void noHistoryPossible();
    void busyFile_data();
    void busyFile();
    void twoCopiesOnOneFile();
    void csvCommand_data();
    void csvCommand();
    void exportTargets_data();
    void exportTargets();
    void readOnlyAndDamaged_data();
    void readOnlyAndDamaged();
    void earlierVersionFile_data();
    void earlierVersionFile();
    void privateFiles();
    void commitment_data();
    void commitment();
    void versionOneFile_data();
    void versionOneFile();

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_count = 0;
};

// Paths traced, then steps: complete or abandon, "refused" when the call must return false and
// change nothing. The copy that recorded has ended when the file is opened again.
void TestHistory::finishing_data()
{
    QTest::addColumn<int>("traced");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("state");
    QTest::newRow("left open by a copy that ended") << 1 << QStringList{} << "中断";
    QTest::newRow("every path traced") << 3 << QStringList{"complete"} << "完了";
    QTest::newRow("abandoned before any trace") << 0 << QStringList{"abandon"} << "中断";
    QTest::newRow("abandoned one path short") << 2 << QStringList{"abandon"} << "中断";
    QTest::newRow("completed stays") << 3 << QStringList{"complete", "abandon refused", "complete refused"} << "完了";
    QTest::newRow("abandoned stays") << 1 << QStringList{"abandon", "complete refused", "trace refused"} << "中断";
}

// Every field comes back as recorded, from a new opening of the file; a result only once traced.
void TestHistory::finishing()
{
    QFETCH(int, traced);
    QFETCH(QStringList, steps);
    QFETCH(QString, state);
    const HistoryLottery recorded =
        lottery(QString(), kFixed, 1, 2, {{"a", "1等", true}, {"b", QString(), true}, {"c", "3等", true}});
    const QDateTime finished = kFixed.addSecs(42);
    qint64 id = 0;
    {
        History history;
        QVERIFY2(history.open(m_path), qPrintable(history.error()));
        QVERIFY(history.notice().isEmpty());
        id = recordTraced(history, recorded, traced);
        QVERIFY(id > 0);
        for (const QString &step : steps) {
            const bool done = step.startsWith("complete") ? history.complete(id, finished)
                : step.startsWith("trace")                ? history.recordTrace(id, traced, "late")
                                                          : history.abandon(id);
            QCOMPARE(done, !step.endsWith("refused"));
        }
    }
    History again;
    QVERIFY(again.open(m_path));
    const QList<HistoryLottery> found = withRows(again);
    QCOMPARE(found.size(), 1);
    const HistoryLottery &l = found[0];
    QCOMPARE(std::tuple(l.id, l.state, l.finishedAt), std::tuple(id, state, state == "完了" ? finished : QDateTime()));
    QCOMPARE(std::tuple(l.fixedAt, l.memo, l.group, l.mode, l.participants, l.winners, l.round),
             std::tuple(kFixed, QString(), 3, 1, 3, 1, 2));
    QList<HistoryRow> expected = recorded.rows;
    for (qsizetype i = traced; i < expected.size(); ++i)
        expected[i] = {expected[i].name, QString(), false};
    QCOMPARE(l.rows, expected);
    QCOMPARE(again.rows(id), expected);
}

// A lottery another copy is still recording stays open and cannot be removed; once that copy has
// ended it is abandoned, at the next opening or when asked.
void TestHistory::runningCopyKeepsItsLottery()
{
    History other;
    auto recording = std::make_unique<History>();
    QVERIFY(recording->open(m_path));
    const qint64 id = recording->recordStandby(lottery("running", kFixed));
    QVERIFY(other.open(m_path));
    QCOMPARE(other.abandonDeadCopies(), 0);
    QCOMPARE(other.remove({id}), 0);
    QCOMPARE(other.lotteries().value(0).state, QString("記録中"));
    recording.reset();
    QCOMPARE(other.abandonDeadCopies(), 1);
    QCOMPARE(other.lotteries().value(0).state, QString("中断"));
    QCOMPARE(other.remove({id}), 1);
    QVERIFY(other.lotteries().isEmpty());
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
    for (const auto &[memo, seconds] : QList<std::pair<QString, int>>{{"early", 0}, {"late", 60}, {"middle", 30}, {"late twin", 60}}) {
        ids[memo] = recordTraced(history, lottery(memo, kFixed.addSecs(seconds)), 2);
        QVERIFY(history.complete(ids[memo], kFixed));
    }
    QList<qint64> gone{999999};
    for (const QString &memo : removed)
        gone << ids[memo];
    QCOMPARE(history.remove(gone), removed.size());
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
    const QString finished = ",2026/12/07 13:45:05";
    QTest::newRow("winner mode, no win is はずれ")
        << lottery("", kFixed) << QStringList{when + ",あたり,1,完了,太郎,あたり" + finished, when + ",あたり,1,完了,花子,はずれ" + finished};
    QTest::newRow("lottery mode, round 2, one path not traced")
        << lottery("夏", kFixed, 1, 2, {{"a", "1等", true}, {"b", "", false}})
        << QStringList{when + "夏,くじ引き,2,完了,a,1等" + finished, when + "夏,くじ引き,2,完了,b,（たどっていません）" + finished};
    QTest::newRow("number mode, quoted as Excel does")
        << lottery("a,b", kFixed, 2, 1, {{"say \"hi\"", "1", true}, {"two\r\nlines", "2", true}})
        << QStringList{when + "\"a,b\",番号,1,完了,\"say \"\"hi\"\"\",1" + finished,
                       when + "\"a,b\",番号,1,完了,\"two\r\nlines\",2" + finished};
}

void TestHistory::csv()
{
    QFETCH(HistoryLottery, recorded);
    QFETCH(QStringList, lines);
    recorded.state = "完了";
    recorded.finishedAt = kFixed.addSecs(60);
    const QByteArray expected = ("日時,グループ,メモ,モード,回,状態,名前,結果,全員たどった日時\r\n" + lines.join("\r\n") + "\r\n").toUtf8();
    QCOMPARE(historyCsv({recorded}, false), expected);
    QCOMPARE(historyCsv({recorded}, true), "\xEF\xBB\xBF" + expected);
}

// A cell a spreadsheet would read as a formula stays text behind an apostrophe; others are kept.
void TestHistory::csvCell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell");
    QTest::newRow("equals") << "=1+2" << "'=1+2";
    QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
    QTest::newRow("plus") << "+81 3" << "'+81 3";
    QTest::newRow("minus") << "-5" << "'-5";
    QTest::newRow("tab first") << "\t=2*3" << "'\t=2*3";
    QTest::newRow("carriage return first") << "\r=2" << "\"'\r=2\"";
    QTest::newRow("command, quoted for its comma") << "=cmd|' /C calc'!A0,x" << "\"'=cmd|' /C calc'!A0,x\"";
    QTest::newRow("sign not first") << "a=b-1" << "a=b-1";
    QTest::newRow("apostrophe first") << "'=1" << "'=1";
    QTest::newRow("full-width equals") << "＝1" << "＝1";
    QTest::newRow("empty") << "" << "";
}

void TestHistory::csvCell()
{
    QFETCH(QString, text);
    QFETCH(QString, cell);
    QCOMPARE(::csvCell(text), cell);
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

// Another copy holding the file: a patient opening waits for it, an impatient one gives up at once
// and says the file was only busy, and opens once the file is free.
void TestHistory::busyFile_data()
{
    QTest::addColumn<bool>("held");
    QTest::newRow("held by another copy") << true;
    QTest::newRow("free") << false;
}

void TestHistory::busyFile()
{
    QFETCH(bool, held);
    OtherCopy other(m_path);
    QVERIFY(other.ok());
    QVERIFY(!held || other.hold());
    History impatient;
    impatient.setPatience(20);
    QCOMPARE(impatient.open(m_path), !held);
    QCOMPARE(impatient.wasBusy(), held);
    QVERIFY(!held || other.release());
    QVERIFY(impatient.open(m_path));
    QVERIFY(!impatient.wasBusy());
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
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("standard output") << "-" << "two" << 0;
    QTest::newRow("file") << "out.csv" << "two" << 0;
    QTest::newRow("/dev/stdout into a pipe") << "/dev/stdout" << "two" << 0;
    QTest::newRow("no history yet") << "-" << "none" << 0;
    QTest::newRow("damaged history") << "out.csv" << "damaged" << 1;
    QTest::newRow("a folder") << "." << "two" << 1;
}

// The real program, without a display, writes what historyCsv makes of the history, and changes
// nothing in it: a damaged history is an error, neither moved nor made anew.
void TestHistory::csvCommand()
{
    QFETCH(QString, target);
    QFETCH(QString, history);
    QFETCH(int, exitCode);
    QTemporaryDir data;
    const QString path = data.filePath("amidakuji/history.sqlite3");
    QList<HistoryLottery> recorded;
    if (history != "none") {
        History made;
        QVERIFY(made.open(path));
        for (int i = 0; i < 2; ++i)
            made.complete(recordTraced(made, lottery(QString("=memo, %1").arg(i), kFixed.addDays(i), i), 1), kFixed);
        recorded = withRows(made);
    }
    if (history == "damaged")
        QVERIFY(writeBytes(path, QByteArray("no database here\n").repeated(300)));
    const QStringList before = QDir(data.filePath("amidakuji")).entryList(QDir::Files);
    const QByteArray bytesBefore = fileBytes(path);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert("XDG_DATA_HOME", data.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(data.path());
    program.start(AMIDAKUJI_EXECUTABLE, {"--history-csv", target});
    QVERIFY(program.waitForFinished(30000));
    const QByteArray errors = program.readAllStandardError();
    QVERIFY2(program.exitCode() == exitCode, errors.constData());
    QCOMPARE(errors.isEmpty(), exitCode == 0);
    QCOMPARE(QDir(data.filePath("amidakuji")).entryList(QDir::Files), before);
    QCOMPARE(fileBytes(path), bytesBefore);
    if (exitCode != 0)
        return;
    const bool toFile = target != "-";
    const QByteArray written = target == "out.csv" ? fileBytes(data.filePath(target)) : program.readAllStandardOutput();
    QCOMPARE(written, historyCsv(recorded, toFile));
}

// Where an export goes: a file is replaced whole (through a link, the file it leads to); a pipe
// or a device is written straight and stays what it is; a folder or a missing folder is refused
// with a message that names it.
void TestHistory::exportTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("written");
    QTest::newRow("new file") << "new.csv" << true;
    QTest::newRow("file replaced") << "old.csv" << true;
    QTest::newRow("link to a file") << "link.csv" << true;
    QTest::newRow("pipe") << "fifo" << true;
    QTest::newRow("null device") << "/dev/null" << true;
    QTest::newRow("full device") << "/dev/full" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing folder") << "missing/new.csv" << false;
}

void TestHistory::exportTargets()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    QTemporaryDir folder;
    QVERIFY(writeBytes(folder.filePath("old.csv"), QByteArray(5000, 'o')));
    QVERIFY(QFile::link(folder.filePath("old.csv"), folder.filePath("link.csv")));
    QVERIFY(QDir(folder.path()).mkdir("folder"));
    QVERIFY(::mkfifo(QFile::encodeName(folder.filePath("fifo")).constData(), 0600) == 0);
    const QString path = target.startsWith('/') ? target : folder.filePath(target);
    const QByteArray csv = historyCsv({lottery("書き出し", kFixed)}, true);
    // The pipe's reader, as a spreadsheet or `head` would be.
    QByteArray piped;
    std::thread reader;
    if (target == "fifo")
        reader = std::thread([&] {
            QFile in(path);
            if (in.open(QIODevice::ReadOnly))
                piped = in.readAll();
        });
    QString error;
    const bool done = saveFile(path, [&](QIODevice &out) { return out.write(csv) == csv.size(); }, &error);
    if (reader.joinable())
        reader.join();
    QCOMPARE(done, written);
    QCOMPARE(error.isEmpty(), written);
    QVERIFY2(written || error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    const QFileInfo info(path);
    if (target == "fifo")
        QCOMPARE(piped, csv);
    else if (target.endsWith(".csv") && written)
        QCOMPARE(fileBytes(path), csv);
    QCOMPARE(QFileInfo(folder.filePath("link.csv")).isSymLink(), true);
    QCOMPARE(QFileInfo(folder.filePath("folder")).isDir(), true);
    QVERIFY(!info.exists() || target.endsWith(".csv") || !info.isFile());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 3 + int(target == "new.csv"));
}

// Opening a history that cannot be written, cannot be read or is damaged. Runs as a user without
// root's rights (root reads and writes whatever the mode bits say).
void TestHistory::readOnlyAndDamaged_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("records");
    QTest::addColumn<bool>("setAside");
    QTest::addColumn<QStringList>("listed");
    const QStringList kept{"kept"};
    QTest::newRow("healthy") << "healthy" << true << true << false << kept;
    QTest::newRow("file read-only") << "file 0444" << true << false << false << kept;
    QTest::newRow("folder read-only") << "folder 0555" << true << false << false << kept;
    QTest::newRow("file unreadable") << "file 0000" << false << false << false << QStringList{};
    QTest::newRow("not a database") << "garbage" << true << true << true << QStringList{};
    QTest::newRow("another program's database") << "foreign" << false << false << false << QStringList{};
}

void TestHistory::readOnlyAndDamaged()
{
    QFETCH(QString, setup);
    QFETCH(bool, opens);
    QFETCH(bool, records);
    QFETCH(bool, setAside);
    QFETCH(QStringList, listed);
    RUN_AS_ANOTHER_USER_IF_ROOT();
    const QString folder = QFileInfo(m_path).path();
    {
        History first;
        QVERIFY(first.open(m_path));
        QVERIFY(first.complete(recordTraced(first, lottery("kept", kFixed), 2), kFixed));
    }
    if (setup == "garbage")
        QVERIFY(writeBytes(m_path, QByteArray("no database here\n").repeated(300)));
    if (setup == "foreign") {
        QVERIFY(QFile::remove(m_path));
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(m_path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec("CREATE TABLE lottery (ticket TEXT)"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    if (setup.startsWith("file 0"))
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), setup.endsWith("444") ? 0444 : 0) == 0);
    if (setup == "folder 0555")
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    const QByteArray before = fileBytes(m_path);
    const QStringList filesBefore = QDir(folder).entryList(QDir::Files);

    History history;
    QCOMPARE(history.open(m_path), opens);
    QCOMPARE(history.isReadOnly(), opens && !records);
    QCOMPARE(memos(history.lotteries()), listed);
    const qint64 id = history.recordStandby(lottery("new", kFixed));
    QCOMPARE(id != 0, records);
    // What the user is told is Japanese, without the driver's own words.
    QVERIFY2(records || (!history.reason().isEmpty() && !history.reason().contains(QRegularExpression("[A-Za-z]{3}"))),
             qPrintable(history.reason()));
    const QStringList aside = QDir(folder).entryList({"history.sqlite3.damaged-*"}, QDir::Files);
    QCOMPARE(aside.size(), setAside ? 1 : 0);
    if (!records && !setAside) {
        QCOMPARE(fileBytes(m_path), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), filesBefore);
    }
    // Read for an export, what can be read is; nothing changes.
    History reading;
    QCOMPARE(reading.openForReading(m_path), opens);
    if (opens && !setAside)
        QCOMPARE(memos(withRows(reading)), records ? QStringList{"new"} + listed : listed);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    ::chmod(QFile::encodeName(m_path).constData(), 0600);
}

// A history an earlier version wrote (every result at standby, no record of traces): its completed
// lotteries keep their results; those never completed lose the results nobody may have seen, in
// the file too. Read for an export without changing it, they are not shown either.
void TestHistory::earlierVersionFile_data()
{
    QTest::addColumn<bool>("forReading");
    QTest::newRow("opened to record") << false;
    QTest::newRow("opened for an export") << true;
}

void TestHistory::earlierVersionFile()
{
    QFETCH(bool, forReading);
    QVERIFY(writeEarlierFile(m_path,
        {"CREATE TABLE lottery (id INTEGER PRIMARY KEY AUTOINCREMENT, fixed_at INTEGER NOT NULL,"
         " finished_at INTEGER, group_number INTEGER NOT NULL, memo TEXT NOT NULL, mode INTEGER NOT NULL,"
         " participants INTEGER NOT NULL, winners INTEGER NOT NULL, round INTEGER NOT NULL, state TEXT NOT NULL)",
         "CREATE TABLE participant (lottery_id INTEGER NOT NULL REFERENCES lottery(id) ON DELETE CASCADE,"
         " position INTEGER NOT NULL, name TEXT NOT NULL, result TEXT NOT NULL,"
         " PRIMARY KEY (lottery_id, position)) WITHOUT ROWID",
         "INSERT INTO lottery VALUES (1, 1796000000000, 1796000060000, 1, 'done', 1, 2, 0, 1, '完了')",
         "INSERT INTO lottery VALUES (2, 1796000100000, NULL, 1, 'left', 1, 2, 0, 1, '中断')",
         "INSERT INTO participant VALUES (1, 0, 'a', 'SeenPrizeA'), (1, 1, 'b', 'SeenPrizeB'),"
         " (2, 0, 'c', 'UnseenPrizeC'), (2, 1, 'd', 'UnseenPrizeD')"}));
    const QByteArray before = fileBytes(m_path);
    History history;
    QVERIFY(forReading ? history.openForReading(m_path) : history.open(m_path));
    const QList<HistoryLottery> found = withRows(history);
    QCOMPARE(memos(found), QStringList({"left", "done"}));
    QCOMPARE(found[1].rows, QList<HistoryRow>({{"a", "SeenPrizeA", true}, {"b", "SeenPrizeB", true}}));
    QCOMPARE(found[0].rows, QList<HistoryRow>({{"c", {}, false}, {"d", {}, false}}));
    if (forReading) {
        QCOMPARE(fileBytes(m_path), before);
        return;
    }
    const QByteArray bytes = fileBytes(m_path) + fileBytes(m_path + "-wal");
    QVERIFY(bytes.contains("SeenPrizeA"));
    QVERIFY(!bytes.contains("UnseenPrize"));
}

// The history is the user's alone: the folder 0700, the file and SQLite's side files 0600, also
// when an earlier version left them open to others.
void TestHistory::privateFiles()
{
    const QString folder = QFileInfo(m_path).path();
    QVERIFY(QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    History history;
    QVERIFY(history.open(m_path));
    QVERIFY(history.recordStandby(lottery("private", kFixed)) != 0);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    for (const QString &file : {m_path, m_path + "-wal", m_path + "-shm"}) {
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QCOMPARE(QFile::permissions(file) & (others | QFileDevice::ExeOwner), QFileDevice::Permissions());
    }
    QCOMPARE(QFile::permissions(folder) & others, QFileDevice::Permissions());
}

// Rows: the lottery's last step. The hash is kept from standby on, the text and nonce only once completed.
void TestHistory::commitment_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("revealed");
    QTest::newRow("being recorded") << "" << false;
    QTest::newRow("abandoned") << "abandon" << false;
    QTest::newRow("completed") << "complete" << true;
}

void TestHistory::commitment()
{
    QFETCH(QString, step);
    QFETCH(bool, revealed);
    const QByteArray nonce = "feedfacefeedfacefeedfacefeedface";
    const QByteArray text = "a text standing for the commitment's\nnonce\t" + nonce + '\n';
    HistoryLottery made = lottery("m", kFixed);
    made.commitmentHash = QByteArray(64, 'c');
    History history;
    QVERIFY(history.open(m_path));
    const qint64 id = recordTraced(history, made, step == "complete" ? made.rows.size() : 1);
    QVERIFY(step != "complete" || history.complete(id, kFixed.addSecs(9), text, nonce));
    QVERIFY(step != "abandon" || history.abandon(id));
    const QByteArray bytes = fileBytes(m_path) + fileBytes(m_path + "-wal");
    QCOMPARE(std::pair(bytes.contains(nonce), bytes.contains("standing for")), std::pair(revealed, revealed));
    QVERIFY(bytes.contains(made.commitmentHash));
    History again;
    QVERIFY(again.openForReading(m_path));
    QCOMPARE(again.lotteries().value(0).commitmentHash, made.commitmentHash);
    QCOMPARE(again.commitmentText(id), revealed ? text : QByteArray());
}

// Rows: opened to record (then takes a hash) or for an export (left as it was); a version 1 file keeps its lotteries.
void TestHistory::versionOneFile_data()
{
    QTest::addColumn<bool>("forReading");
    QTest::newRow("opened to record") << false;
    QTest::newRow("opened for an export") << true;
}

void TestHistory::versionOneFile()
{
    QFETCH(bool, forReading);
    QVERIFY(writeEarlierFile(m_path,
        {"CREATE TABLE lottery (id INTEGER PRIMARY KEY AUTOINCREMENT, fixed_at INTEGER NOT NULL,"
         " finished_at INTEGER, group_number INTEGER NOT NULL, memo TEXT NOT NULL, mode INTEGER NOT NULL,"
         " participants INTEGER NOT NULL, winners INTEGER NOT NULL, round INTEGER NOT NULL, state TEXT NOT NULL,"
         " recorder TEXT)",
         "CREATE TABLE participant (lottery_id INTEGER NOT NULL REFERENCES lottery(id) ON DELETE CASCADE,"
         " position INTEGER NOT NULL, name TEXT NOT NULL, result TEXT NOT NULL,"
         " traced INTEGER NOT NULL DEFAULT 1, PRIMARY KEY (lottery_id, position)) WITHOUT ROWID",
         "INSERT INTO lottery VALUES (1, 1796000000000, 1796000060000, 1, 'done', 1, 2, 0, 1, '完了', NULL)",
         "INSERT INTO participant VALUES (1, 0, 'a', 'SeenPrizeA', 1), (1, 1, 'b', 'SeenPrizeB', 1)",
         "PRAGMA user_version = 1"}));
    const QByteArray before = fileBytes(m_path);
    History history;
    QVERIFY(forReading ? history.openForReading(m_path) : history.open(m_path));
    const QList<HistoryLottery> found = withRows(history);
    QCOMPARE(memos(found), QStringList({"done"}));
    QCOMPARE(found[0].commitmentHash, QByteArray());
    QCOMPARE(found[0].rows, QList<HistoryRow>({{"a", "SeenPrizeA", true}, {"b", "SeenPrizeB", true}}));
    QCOMPARE(history.commitmentText(found[0].id), QByteArray());
    QCOMPARE(fileBytes(m_path) == before, forReading);
    if (forReading)
        return;
    HistoryLottery made = lottery("new", kFixed);
    made.commitmentHash = QByteArray(64, 'd');
    const qint64 id = recordTraced(history, made, made.rows.size());
    QVERIFY(history.complete(id, kFixed, "text\n", "00"));
    QCOMPARE(history.lotteries().size(), 2);
    QCOMPARE(history.commitmentText(id), QByteArray("text\n"));
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
