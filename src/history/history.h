#pragma once
// The history of lotteries: every lottery is recorded in an SQLite database at standby with its
// names, each result is written when its path is traced (never before: the history holds only
// what the room has seen), the lottery is completed with the last trace and marked abandoned when
// the window moves on before that. A history that cannot be used never stops a lottery: the
// caller goes on without it.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

class QIODevice;
class QLockFile;
class QSqlQuery;

// Where a history step that failed is reported, with SQLite's reason.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

// One participant: the name, and once the path is traced the result as the prize box shows it
// ("あたり", the prize, the number, or empty for no win).
struct HistoryRow
{
    QString name;
    QString result;
    bool traced = false;
    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

struct HistoryLottery
{
    qint64 id = 0;
    // When standby fixed the results.
    QDateTime fixedAt;
    // The time stamp's time, when the last path was traced; invalid until then.
    QDateTime finishedAt;
    int group = 1;
    QString memo;
    // 0 winner, 1 lottery, 2 number.
    int mode = 0;
    int participants = 0;
    int winners = 0;
    int round = 1;
    // "記録中" while open, "完了" when every path was traced, "中断" when abandoned.
    QString state;
    // In name-box order; left empty by History::lotteries(), which lists without them.
    QList<HistoryRow> rows;
    // The SHA-256 (64 hexadecimal digits) of the commitment standby made to the results; empty
    // for a lottery recorded without one.
    QByteArray commitmentHash;
};

// The lottery states as the history names them.
namespace history_state {
inline const QString kRecording = QStringLiteral("記録中");
inline const QString kCompleted = QStringLiteral("完了");
inline const QString kAbandoned = QStringLiteral("中断");
} // namespace history_state

class History
{
public:
    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    static QString defaultPath();

    // Opens (creating) the database at path, the folder private to the user (0700) and the file
    // too (0600). Only a file SQLite calls damaged is moved aside (renamed with the date and time,
    // history.sqlite3.damaged-20261207-134405) and a new one started; notice() then holds one
    // message for the user naming both files. A file that can be read but not written (or lies in
    // a folder that cannot be written) is opened for reading: isReadOnly(), and every record
    // fails with the reason. Lotteries left "記録中" by copies that no longer run are marked
    // "中断". False only when the history cannot even be read (error() says why).
    bool open(const QString &path);
    // Opens an existing history for reading only: nothing is created, moved or changed.
    bool openForReading(const QString &path);
    // How long a step waits while another copy of the program holds the file (each statement;
    // opening waits twice as long). Set before open().
    void setPatience(int milliseconds) { m_patience = milliseconds; }
    // Whether the last open() failed only because another copy held the file: trying again later
    // may succeed.
    bool wasBusy() const { return m_openingBusy; }
    bool isOpen() const { return m_open; }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }
    QString notice() const { return m_notice; }
    // Why the last call failed, for the log; empty after one that succeeded.
    QString error() const { return m_error; }
    // The same in the words a user reads.
    QString reason() const { return m_reason; }

    // The lottery as standby fixed it, with its names and no result, state "記録中"; its new id,
    // or 0 when it could not be recorded.
    qint64 recordStandby(const HistoryLottery &lottery);
    // A path traced: the participant at position (0.. in name-box order) reached result. Only
    // while the lottery is "記録中".
    bool recordTrace(qint64 id, int position, const QString &result);
    // Every path traced: state "完了" with the stamp's time, and the commitment's text and nonce,
    // which nothing held before. Only while "記録中".
    bool complete(qint64 id, const QDateTime &finishedAt, const QByteArray &commitmentText = {},
                  const QByteArray &nonce = {});
    // The window moved on before every path was traced: state "中断". Only while "記録中".
    bool abandon(qint64 id);
    // Marks "中断" every lottery left "記録中" by a copy of the program that no longer runs; how
    // many (-1 when the history could not be changed).
    int abandonDeadCopies();

    // Newest first, without their rows.
    QList<HistoryLottery> lotteries() const;
    // One lottery's participants in name-box order.
    QList<HistoryRow> rows(qint64 id) const;
    // The commitment's text of a completed lottery; empty for any other (or on failure).
    QByteArray commitmentText(qint64 id) const;
    // Every lottery with its rows, newest first, one at a time (the rows are read as they are
    // handed on, so the whole history is never in memory). False when reading failed or each
    // returned false.
    bool forEachLottery(const std::function<bool(const HistoryLottery &)> &each) const;
    // Removes the lotteries that are not being recorded; how many were removed, -1 on failure.
    int remove(const QList<qint64> &ids);

private:
    enum class Opening { Done, Damaged, Busy, Failed };
    Opening tryOpen(const QString &path, bool readOnly);
    bool openAs(const QString &path, bool readOnly);
    bool makePrivate(const QString &path);
    bool migrate();
    void closeConnection();
    bool holdCopyLock();
    bool copyRuns(const QString &copy) const;
    bool setState(qint64 id, const QString &state, const QDateTime &finishedAt);
    bool updateRecording(const QString &what, const QString &statement, const QVariantList &values);
    bool readable() const;
    // Runs writes (false on failure) in one transaction that waits for another copy's write.
    bool inTransaction(const QString &what, const std::function<bool(QSqlQuery &)> &writes);
    bool failed(const QString &what, const QString &reason, const QString &userReason) const;

    QString m_connection;
    QString m_path;
    QString m_notice;
    mutable QString m_error;
    mutable QString m_reason;
    bool m_open = false;
    bool m_readOnly = false;
    int m_patience = 5000;
    bool m_openingBusy = false;
    // Whether the file says which paths were traced; a file of an earlier version opened for
    // reading does not, and only its completed lotteries show results.
    bool m_tracedColumn = true;
    // Whether it has the commitment's columns; a file of an earlier version opened for reading
    // does not.
    bool m_commitmentColumns = true;
    // Whether opening brought the file up from an earlier version.
    bool m_migrated = false;
    // This copy of the program, as the lotteries it records name it, and the lock it holds while
    // it runs, by which other copies tell it from a dead one.
    QString m_copy;
    std::unique_ptr<QLockFile> m_copyLock;
    // Whether the last failed transaction met a fault that passes (the file busy, the disk full).
    bool m_passingFault = false;
    // Whether it met another copy's lock, or rights that do not let it write.
    bool m_busy = false;
    bool m_writeFault = false;
};

// A result as the history shows it: "はずれ" for a traced row without a win in winner mode, and
// kNotTraced for a path nobody traced.
inline const QString kNotTraced = QStringLiteral("（たどっていません）");
QString historyResultText(const HistoryLottery &lottery, const HistoryRow &row);

// A time as the history shows it (local time), empty for none.
QString historyTimeText(const QDateTime &time);

// The history as spreadsheet programs on a Japanese system open it: UTF-8 with a byte-order mark
// (unless withBom is false), CR LF, one line per participant under the header
// 日時,グループ,メモ,モード,回,状態,名前,結果,全員たどった日時 (日時 is the time of standby),
// fields quoted as Excel quotes them, and a cell a spreadsheet would take for a formula
// (beginning with =, +, -, @, a tab or a carriage return) behind an apostrophe.
QByteArray historyCsv(const QList<HistoryLottery> &lotteries, bool withBom);
QByteArray historyCsvHeading(bool withBom);
QByteArray historyCsvLines(const HistoryLottery &lottery);
// One cell as the CSV holds it.
QString csvCell(QString text);

// The whole history as CSV into out, one lottery at a time (never all of it in memory), and
// which side failed if any.
enum class CsvWritten { Done, ReadFailed, WriteFailed };
CsvWritten writeHistoryCsv(const History &history, QIODevice &out, bool withBom);

// A mode as the history names it: あたり, くじ引き, 番号.
QString historyModeName(int mode);

// `amidakuji --history-csv FILE`: the whole history at the default path into FILE ("-" for
// standard output, without the byte-order mark), read without changing it. Needs a
// QCoreApplication; returns the exit code (1 when the history cannot be read or FILE written).
int exportHistoryCsv(const QString &target);
