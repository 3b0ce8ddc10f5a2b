#include "lottery_runs.h"

#include "app/lottery_state.h"
#include "ladder/path.h"
#include "ladder/rungs.h"
#include "modes/mode_cycle.h"
#include "modes/placement.h"

#include <QStringList>

#include <stdexcept>

namespace fairness {

QString drawName(Draw draw)
{
    switch (draw) {
    case Draw::Winner:
        return QStringLiteral("winner");
    case Draw::Lottery:
        return QStringLiteral("lottery");
    case Draw::Number:
        return QStringLiteral("number");
    case Draw::LadderAlone:
        return QStringLiteral("ladder");
    }
    return {};
}

namespace {

void checkPlan(const RunPlan &plan)
{
    if (plan.participants < 2 || plan.participants > ladder::kMaxLines)
        throw std::invalid_argument("participant count outside 2..37");
    // Winner mode refuses to make a ladder unless at least one slot stays empty.
    if (plan.draw == Draw::Winner && (plan.atariCount < 1 || plan.atariCount >= plan.participants))
        throw std::invalid_argument("winner count outside 1..participants-1");
}

std::vector<int> resultMultiplicity(const RunPlan &plan)
{
    if (plan.draw == Draw::Winner)
        return {plan.atariCount, plan.participants - plan.atariCount};
    return std::vector<int>(size_t(plan.participants), 1);
}

} // namespace

std::vector<int> runOneLottery(const RunPlan &plan, RandomSource &random, TickSource &ticks)
{
    checkPlan(plan);
    const int n = plan.participants;

    const float density = modes::rungDensity(random.next());

    QStringList prizes;
    for (int i = 0; i < n; ++i)
        prizes << QStringLiteral("P%1").arg(i);
    if (plan.draw == Draw::Lottery)
        placement::shufflePrizes(prizes, n, random);

    LadderGrid grid;
    ladder::warmUp(random, ticks.ticks());
    ladder::clearGrid(grid);
    ladder::placeRungs(grid, n, density, random);

    // What lies in row k: the index of its result.
    std::vector<int> slot(size_t(n), 0);
    switch (plan.draw) {
    case Draw::Winner:
        slot.assign(size_t(n), 1);
        for (int row : placement::drawWinnerRows(n, plan.atariCount, random))
            slot[row] = 0;
        break;
    case Draw::Number: {
        const QList<int> numbers = placement::drawRowNumbers(n, random);
        for (int k = 0; k < n; ++k)
            slot[k] = numbers[k] - 1;
        break;
    }
    case Draw::Lottery:
    case Draw::LadderAlone:
        for (int k = 0; k < n; ++k)
            slot[k] = prizes[k].mid(1).toInt();
        break;
    }

    std::vector<int> results(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        results[i] = slot[ladder::followRoute(grid, i, n).finalLine - 1];
    return results;
}

CountTable runLotteries(const RunPlan &plan, RandomSource &random, TickSource &ticks)
{
    checkPlan(plan);
    CountTable table(plan.participants, resultMultiplicity(plan));
    for (long long k = 0; k < plan.lotteries; ++k) {
        const std::vector<int> results = runOneLottery(plan, random, ticks);
        for (int i = 0; i < plan.participants; ++i)
            ++table.at(i, results[i]);
        ++table.lotteries;
    }
    return table;
}

} // namespace fairness
