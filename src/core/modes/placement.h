#pragma once

#include <QList>
#include <QStringList>

class RandomSource;

// The hidden results that standby fixes, computed apart from the boxes that show them.
namespace placement {

// Mixes the first manCount texts into an order drawn uniformly from all orders (one draw per row
// but the first); texts past manCount stay where they are.
void shufflePrizes(QStringList &texts, int manCount, RandomSource &random);

// The rows marked "あたり", in the order they were drawn: random rows redrawn until an unmarked
// one comes up. A count above manCount marks every row and one below 0 marks none, so the
// draw always ends.
QList<int> drawWinnerRows(int manCount, int atariCount, RandomSource &random);

// The number of every row 0..manCount-1: 1, 2, .. are placed in turn on random unfilled rows.
QList<int> drawRowNumbers(int manCount, RandomSource &random);

} // namespace placement
