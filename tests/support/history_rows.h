#pragma once
// The whole history as tests compare it: every lottery with its rows, newest first.

#include "history.h"

inline QList<HistoryLottery> withRows(const History &history)
{
    QList<HistoryLottery> found;
    history.forEachLottery([&](const HistoryLottery &lottery) {
        found << lottery;
        return true;
    });
    return found;
}
