#pragma once
// The lotteries record_loop writes, each made from its sequence number alone, so that the kill
// test can tell what every record in the history must hold.
#include "history.h"

namespace record_loop {

inline const QDateTime kFirstFixed = QDateTime::fromMSecsSinceEpoch(1796000000000);

inline HistoryLottery lottery(qint64 sequence)
{
    HistoryLottery made;
    made.fixedAt = kFirstFixed.addMSecs(sequence * 1001);
    made.group = int(1 + sequence % 7);
    made.memo = QStringLiteral("抽選 %1").arg(sequence);
    made.mode = int(sequence % 3);
    made.participants = int(2 + sequence % 6);
    made.winners = 1;
    made.round = int(1 + sequence % 3);
    for (int i = 0; i < made.participants; ++i)
        made.rows.append({QStringLiteral("名前%1-%2").arg(sequence).arg(i),
                          i == 0 ? QStringLiteral("あたり, %1").arg(sequence) : QString()});
    return made;
}

// Every third lottery is abandoned after half its paths are traced, the others are traced to the
// end; paths are traced in name-box order.
inline bool abandoned(qint64 sequence)
{
    return sequence % 3 == 2;
}

inline int tracedCount(qint64 sequence)
{
    const int participants = lottery(sequence).participants;
    return abandoned(sequence) ? participants / 2 : participants;
}

inline QDateTime finishedAt(qint64 sequence)
{
    return lottery(sequence).fixedAt.addSecs(30);
}

inline qint64 sequenceOf(const QString &memo)
{
    return memo.section(u' ', 1).toLongLong();
}

} // namespace record_loop
