#include "placement.h"

#include "base/sources.h"

#include <algorithm>

namespace placement {

void shufflePrizes(QStringList &texts, int manCount, RandomSource &random)
{
    // Fisher–Yates: row i takes a row drawn from 0..i, so every order is equally likely.
    for (int i = std::min<int>(manCount, int(texts.size())) - 1; i > 0; --i) {
        const int j = randomIndex(random, i + 1);
        if (j != i)
            texts.swapItemsAt(i, j);
    }
}

QList<int> drawWinnerRows(int manCount, int atariCount, RandomSource &random)
{
    const int wanted = std::clamp(atariCount, 0, std::max(manCount, 0));
    QList<bool> marked(manCount, false);
    QList<int> rows;
    while (rows.size() != wanted) {
        const int k = randomIndex(random, manCount);
        if (!marked[k]) {
            marked[k] = true;
            rows << k;
        }
    }
    return rows;
}

QList<int> drawRowNumbers(int manCount, RandomSource &random)
{
    QList<int> numbers(std::max(manCount, 0), 0);
    for (int k = 1; k <= manCount;) {
        const int j = randomIndex(random, manCount);
        if (numbers[j] == 0)
            numbers[j] = k++;
    }
    return numbers;
}

} // namespace placement
