#pragma once
// The history of lotteries: every lottery is recorded in an SQLite database the moment standby
// fixes its results, completed when every path is traced and marked abandoned when the window
// moves on before that. A history that cannot be used never stops a lottery: the caller goes on
// without it.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLoggingCategory>
#include <QString>

#include <functional>

class QSqlQuery;

// Where a history step that failed is reported, with SQLite's reason.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

// One participant: the name and the result as the prize box shows it ("あたり", the prize, the
// number, or empty for no win).
struct HistoryRow
{
    QString name;
    QString result;
    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

struct HistoryLottery
{
    qint64 id = 0;
    // When standby fixed the results.
    QDateTime fixedAt;
    // The time stamp's time; invalid until every path is traced.
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
    // In name-box order.
    QList<HistoryRow> rows;
};

class History
{
public:
    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    static QString defaultPath();

    // Opens (creating) the database at path. A file that cannot be opened or is damaged is moved
    // aside (renamed with the date and time, history.sqlite3.damaged-20261207-134405) and a new one
    // is started; notice() then holds one message for the user naming both files. False only when
    // not even a new database can be made (error() says why).
    bool open(const QString &path);
    bool isOpen() const { return m_open; }
    QString notice() const { return m_notice; }
    // Why the last call failed; empty after one that succeeded.
    QString error() const { return m_error; }

    // The lottery as standby fixed it, state "記録中"; its new id, or 0 when it could not be
    // recorded.
    qint64 recordStandby(const HistoryLottery &lottery);
    // Every path traced: state "完了" with the stamp's time. Only while "記録中".
    bool complete(qint64 id, const QDateTime &finishedAt);
    // The window moved on before every path was traced: state "中断". Only while "記録中".
    bool abandon(qint64 id);
    // Newest first, with their rows.
    QList<HistoryLottery> lotteries() const;
    // True once none of the lotteries is left.
    bool remove(const QList<qint64> &ids);

private:
    enum class Opening { Done, Damaged, Busy, Failed };
    Opening tryOpen(const QString &path);
    void closeConnection();
    bool setState(qint64 id, const QString &state, const QDateTime &finishedAt);
    // Runs writes (false on failure) in one transaction that waits for another copy's write.
    bool inTransaction(const QString &what, const std::function<bool(QSqlQuery &)> &writes);
    bool failed(const QString &what, const QString &reason) const;

    QString m_connection;
    QString m_path;
    QString m_notice;
    mutable QString m_error;
    bool m_open = false;
    // Whether the last failed transaction met a fault that passes (the file busy, the disk full).
    bool m_passingFault = false;
    // Whether it met another copy's lock.
    bool m_busy = false;
};

// The history as spreadsheet programs on a Japanese system open it: UTF-8 with a byte-order mark
// (unless withBom is false), CR LF, one line per participant under the header
// 日時,グループ,メモ,モード,回,状態,名前,結果, fields quoted as Excel quotes them.
QByteArray historyCsv(const QList<HistoryLottery> &lotteries, bool withBom);

// A mode as the history names it: あたり, くじ引き, 番号.
QString historyModeName(int mode);

// `amidakuji --history-csv FILE`: the whole history at the default path into FILE ("-" for
// standard output, without the byte-order mark). Needs a QCoreApplication; returns the exit code.
int exportHistoryCsv(const QString &target);
