// Recording a lottery, its traces, completing or abandoning it, reading the history and removing
// from it: each write in one transaction, so a kill loses at most the step being written.
#include "history.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace history_state;

namespace {

QVariant msecs(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(QMetaType::fromType<qint64>());
}

// A null text (an empty box) is stored as an empty one: the columns hold no NULL.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

// The lottery's columns; a file without the commitment's columns reads none.
QString lotteryColumns(bool commitmentColumns)
{
    return QStringLiteral("l.id, l.fixed_at, l.finished_at, l.group_number, l.memo, l.mode, l.participants, l.winners,"
                          " l.round, l.state, ")
        + (commitmentColumns ? QStringLiteral("l.commitment_hash") : QStringLiteral("NULL"));
}
constexpr int kLotteryColumnCount = 11;
const QString kNewestFirst = QStringLiteral(" ORDER BY l.fixed_at DESC, l.id DESC");

HistoryLottery lotteryAt(const QSqlQuery &query)
{
    HistoryLottery lottery;
    lottery.id = query.value(0).toLongLong();
    lottery.fixedAt = timeOf(query.value(1));
    lottery.finishedAt = timeOf(query.value(2));
    lottery.group = query.value(3).toInt();
    lottery.memo = query.value(4).toString();
    lottery.mode = query.value(5).toInt();
    lottery.participants = query.value(6).toInt();
    lottery.winners = query.value(7).toInt();
    lottery.round = query.value(8).toInt();
    lottery.state = query.value(9).toString();
    lottery.commitmentHash = query.value(10).toByteArray();
    return lottery;
}

// A row as read: a result is only shown for a traced path, whatever the file holds.
HistoryRow rowAt(const QSqlQuery &query, int first)
{
    const bool traced = query.value(first + 2).toInt() != 0;
    return HistoryRow{query.value(first).toString(), traced ? query.value(first + 1).toString() : QString(), traced};
}

} // namespace

qint64 History::recordStandby(const HistoryLottery &lottery)
{
    qint64 id = 0;
    const bool done = inTransaction(QStringLiteral("cannot record the lottery"), [&](QSqlQuery &query) {
        query.prepare(QStringLiteral(
            "INSERT INTO lottery (fixed_at, finished_at, group_number, memo, mode, participants, winners,"
            " round, state, recorder, commitment_hash) VALUES (?, NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const QVariant hash = lottery.commitmentHash.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                               : QVariant(QString::fromLatin1(lottery.commitmentHash));
        for (const QVariant &value :
             {msecs(lottery.fixedAt), QVariant(lottery.group), text(lottery.memo), QVariant(lottery.mode),
              QVariant(lottery.participants), QVariant(lottery.winners), QVariant(lottery.round),
              QVariant(kRecording), QVariant(m_copy), hash})
            query.addBindValue(value);
        if (!query.exec())
            return false;
        id = query.lastInsertId().toLongLong();
        query.prepare(QStringLiteral(
            "INSERT INTO participant (lottery_id, position, name, result, traced) VALUES (?, ?, ?, '', 0)"));
        for (qsizetype i = 0; i < lottery.rows.size(); ++i) {
            query.addBindValue(id);
            query.addBindValue(qint64(i));
            query.addBindValue(text(lottery.rows[i].name));
            if (!query.exec())
                return false;
        }
        return true;
    });
    return done ? id : 0;
}

bool History::recordTrace(qint64 id, int position, const QString &result)
{
    return updateRecording(QStringLiteral("cannot record the trace of %1 in lottery %2").arg(position).arg(id),
                           QStringLiteral("UPDATE participant SET result = ?, traced = 1"
                                          " WHERE lottery_id = ? AND position = ? AND traced = 0"
                                          " AND lottery_id IN (SELECT id FROM lottery WHERE state = ?)"),
                           {text(result), QVariant(id), QVariant(position), QVariant(kRecording)});
}

bool History::complete(qint64 id, const QDateTime &finishedAt, const QByteArray &commitmentText, const QByteArray &nonce)
{
    if (commitmentText.isEmpty())
        return setState(id, kCompleted, finishedAt);
    return updateRecording(QStringLiteral("cannot mark lottery %1 %2").arg(id).arg(kCompleted),
                           QStringLiteral("UPDATE lottery SET state = ?, finished_at = ?, commitment_text = ?,"
                                          " commitment_nonce = ? WHERE id = ? AND state = ?"),
                           {QVariant(kCompleted), msecs(finishedAt), QVariant(commitmentText),
                            QVariant(QString::fromLatin1(nonce)), QVariant(id), QVariant(kRecording)});
}

bool History::abandon(qint64 id)
{
    return setState(id, kAbandoned, QDateTime());
}

// Only a lottery being recorded changes: one that is finished, or removed meanwhile, stays.
bool History::setState(qint64 id, const QString &state, const QDateTime &finishedAt)
{
    return updateRecording(QStringLiteral("cannot mark lottery %1 %2").arg(id).arg(state),
                           QStringLiteral("UPDATE lottery SET state = ?, finished_at = ? WHERE id = ? AND state = ?"),
                           {QVariant(state), msecs(finishedAt), QVariant(id), QVariant(kRecording)});
}

// One row of a lottery being recorded changed by statement; anything else changed fails.
bool History::updateRecording(const QString &what, const QString &statement, const QVariantList &values)
{
    int changed = 0;
    const bool done = inTransaction(what, [&](QSqlQuery &query) {
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec())
            return false;
        changed = query.numRowsAffected();
        return true;
    });
    if (!done)
        return false;
    if (changed != 1)
        return failed(what, QStringLiteral("it is not being recorded"), QStringLiteral("この抽選は記録中ではありません。"));
    return true;
}

// Reading needs an open history; says why not otherwise.
bool History::readable() const
{
    m_error.clear();
    m_reason.clear();
    if (m_open)
        return true;
    return failed(QStringLiteral("cannot read the history"), QStringLiteral("the history is not open"),
                  QStringLiteral("履歴を開けていません。"));
}

QList<HistoryLottery> History::lotteries() const
{
    if (!readable())
        return {};
    QList<HistoryLottery> found;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT ") + lotteryColumns(m_commitmentColumns) + QStringLiteral(" FROM lottery l") + kNewestFirst)) {
        failed(QStringLiteral("cannot read the history"), query.lastError().text(), QStringLiteral("履歴を読めません。"));
        return {};
    }
    while (query.next())
        found.append(lotteryAt(query));
    return found;
}

QList<HistoryRow> History::rows(qint64 id) const
{
    if (!readable())
        return {};
    QList<HistoryRow> found;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT name, result, %1 FROM participant WHERE lottery_id = ? ORDER BY position")
                      .arg(m_tracedColumn ? QStringLiteral("traced")
                                          : QStringLiteral("(SELECT state = '完了' FROM lottery WHERE id = lottery_id)")));
    query.addBindValue(id);
    if (!query.exec()) {
        failed(QStringLiteral("cannot read lottery %1").arg(id), query.lastError().text(), QStringLiteral("履歴を読めません。"));
        return {};
    }
    while (query.next())
        found.append(rowAt(query, 0));
    return found;
}

QByteArray History::commitmentText(qint64 id) const
{
    if (!readable() || !m_commitmentColumns)
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT commitment_text FROM lottery WHERE id = ? AND state = ?"));
    query.addBindValue(id);
    query.addBindValue(kCompleted);
    if (!query.exec()) {
        failed(QStringLiteral("cannot read lottery %1").arg(id), query.lastError().text(), QStringLiteral("履歴を読めません。"));
        return {};
    }
    return query.next() ? query.value(0).toByteArray() : QByteArray();
}

bool History::forEachLottery(const std::function<bool(const HistoryLottery &)> &each) const
{
    if (!readable())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // One statement reads both tables as of one moment, whatever another copy writes meanwhile.
    if (!query.exec(QStringLiteral("SELECT ") + lotteryColumns(m_commitmentColumns)
                    + QStringLiteral(", p.name, p.result, %1 FROM lottery l LEFT JOIN participant p ON p.lottery_id = l.id")
                          .arg(m_tracedColumn ? QStringLiteral("p.traced") : QStringLiteral("l.state = '完了'"))
                    + kNewestFirst + QStringLiteral(", p.position")))
        return failed(QStringLiteral("cannot read the history"), query.lastError().text(), QStringLiteral("履歴を読めません。"));
    HistoryLottery current;
    bool going = true;
    while (going && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (id != current.id) {
            if (current.id != 0)
                going = each(current);
            current = lotteryAt(query);
        }
        if (!query.value(kLotteryColumnCount).isNull())
            current.rows.append(rowAt(query, kLotteryColumnCount));
    }
    if (query.lastError().isValid())
        return failed(QStringLiteral("cannot read the history"), query.lastError().text(), QStringLiteral("履歴を読めません。"));
    if (going && current.id != 0)
        going = each(current);
    return going;
}

int History::remove(const QList<qint64> &ids)
{
    int removed = 0;
    const bool done = inTransaction(QStringLiteral("cannot remove lotteries from the history"), [&](QSqlQuery &query) {
        for (const qint64 id : ids) {
            query.prepare(QStringLiteral("DELETE FROM lottery WHERE id = ? AND state <> ?"));
            query.addBindValue(id);
            query.addBindValue(kRecording);
            if (!query.exec())
                return false;
            if (query.numRowsAffected() == 0)
                continue;
            ++removed;
            query.prepare(QStringLiteral("DELETE FROM participant WHERE lottery_id = ?"));
            query.addBindValue(id);
            if (!query.exec())
                return false;
        }
        return true;
    });
    return done ? removed : -1;
}
