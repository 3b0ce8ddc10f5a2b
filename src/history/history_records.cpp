// Recording a lottery, completing or abandoning it, reading the history and removing from it:
// each write in one transaction, so a kill loses at most the lottery being written.
#include "history.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString kRecording = QStringLiteral("記録中");
const QString kCompleted = QStringLiteral("完了");
const QString kAbandoned = QStringLiteral("中断");

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

} // namespace

qint64 History::recordStandby(const HistoryLottery &lottery)
{
    qint64 id = 0;
    const bool done = inTransaction(QStringLiteral("cannot record the lottery"), [&](QSqlQuery &query) {
        query.prepare(QStringLiteral(
            "INSERT INTO lottery (fixed_at, finished_at, group_number, memo, mode, participants, winners,"
            " round, state) VALUES (?, NULL, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &value :
             {msecs(lottery.fixedAt), QVariant(lottery.group), text(lottery.memo), QVariant(lottery.mode),
              QVariant(lottery.participants), QVariant(lottery.winners), QVariant(lottery.round),
              QVariant(kRecording)})
            query.addBindValue(value);
        if (!query.exec())
            return false;
        id = query.lastInsertId().toLongLong();
        query.prepare(QStringLiteral("INSERT INTO participant (lottery_id, position, name, result) VALUES (?, ?, ?, ?)"));
        for (qsizetype i = 0; i < lottery.rows.size(); ++i) {
            query.addBindValue(id);
            query.addBindValue(qint64(i));
            query.addBindValue(text(lottery.rows[i].name));
            query.addBindValue(text(lottery.rows[i].result));
            if (!query.exec())
                return false;
        }
        return true;
    });
    return done ? id : 0;
}

bool History::complete(qint64 id, const QDateTime &finishedAt)
{
    return setState(id, kCompleted, finishedAt);
}

bool History::abandon(qint64 id)
{
    return setState(id, kAbandoned, QDateTime());
}

// Only a lottery being recorded changes: one that is finished, or removed meanwhile, stays.
bool History::setState(qint64 id, const QString &state, const QDateTime &finishedAt)
{
    int changed = 0;
    const QString what = QStringLiteral("cannot mark lottery %1 %2").arg(id).arg(state);
    const bool done = inTransaction(what, [&](QSqlQuery &query) {
        query.prepare(QStringLiteral("UPDATE lottery SET state = ?, finished_at = ? WHERE id = ? AND state = ?"));
        query.addBindValue(state);
        query.addBindValue(msecs(finishedAt));
        query.addBindValue(id);
        query.addBindValue(kRecording);
        if (!query.exec())
            return false;
        changed = query.numRowsAffected();
        return true;
    });
    if (!done)
        return false;
    if (changed != 1)
        return failed(what, QStringLiteral("it is not being recorded"));
    return true;
}

QList<HistoryLottery> History::lotteries() const
{
    m_error.clear();
    if (!m_open) {
        failed(QStringLiteral("cannot read the history"), QStringLiteral("the history is not open"));
        return {};
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QList<HistoryLottery> found;
    QHash<qint64, qsizetype> index;
    QSqlQuery query(db);
    // One read transaction: both tables as of one moment, whatever another copy writes meanwhile.
    const bool begun = query.exec(QStringLiteral("BEGIN"));
    const bool read = begun && [&] {
        if (!query.exec(QStringLiteral(
                "SELECT id, fixed_at, finished_at, group_number, memo, mode, participants, winners, round, state"
                " FROM lottery ORDER BY fixed_at DESC, id DESC")))
            return false;
        while (query.next()) {
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
            index.insert(lottery.id, found.size());
            found.append(lottery);
        }
        if (!query.exec(QStringLiteral("SELECT lottery_id, name, result FROM participant ORDER BY lottery_id, position")))
            return false;
        while (query.next()) {
            const auto at = index.constFind(query.value(0).toLongLong());
            if (at != index.constEnd())
                found[*at].rows.append(HistoryRow{query.value(1).toString(), query.value(2).toString()});
        }
        return true;
    }();
    const QSqlError error = query.lastError();
    query.finish();
    if (begun && !query.exec(QStringLiteral("COMMIT")))
        qCWarning(lcHistory, "ending a read failed: %s", qPrintable(query.lastError().text()));
    if (!read) {
        failed(QStringLiteral("cannot read the history"), error.text());
        return {};
    }
    return found;
}

bool History::remove(const QList<qint64> &ids)
{
    return inTransaction(QStringLiteral("cannot remove lotteries from the history"), [&](QSqlQuery &query) {
        for (const qint64 id : ids) {
            for (const QString &statement : {QStringLiteral("DELETE FROM participant WHERE lottery_id = ?"),
                                             QStringLiteral("DELETE FROM lottery WHERE id = ?")}) {
                query.prepare(statement);
                query.addBindValue(id);
                if (!query.exec())
                    return false;
            }
        }
        return true;
    });
}
