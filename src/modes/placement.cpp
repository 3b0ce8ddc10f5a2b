#include "placement.h"

#include "app/seams.h"

#include <algorithm>

namespace placement {

void shufflePrizes(QStringList &texts, int manCount, RandomSource &random)
{
    for (int repetition = 0; repetition < manCount + 40; ++repetition) {
        const int a = randomIndex(random, manCount);
        const int b = randomIndex(random, manCount);
        if (a != b)
            texts.swapItemsAt(a, b);
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
