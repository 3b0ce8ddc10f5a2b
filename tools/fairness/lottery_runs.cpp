#include "lottery_runs.h"

#include "lottery/lottery.h"
#include "settings/layout.h"

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
    if (plan.participants < 2 || plan.participants > kBoxCount)
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

// The lottery owns its sources; these lend it the run's, which go on from lottery to lottery.
class LentRandom : public RandomSource
{
public:
    explicit LentRandom(RandomSource &source) : m_source(source) {}
    float next() override { return m_source.next(); }

private:
    RandomSource &m_source;
};

class LentTicks : public TickSource
{
public:
    explicit LentTicks(TickSource &source) : m_source(source) {}
    int32_t ticks() override { return m_source.ticks(); }

private:
    TickSource &m_source;
};

int drawMode(Draw draw)
{
    return draw == Draw::Winner ? modes::kWinnerMode : draw == Draw::Number ? modes::kNumberMode : modes::kLotteryMode;
}

int winnerCount(const RunPlan &plan)
{
    return plan.draw == Draw::Winner ? plan.atariCount : 1;
}

// A settings file that opens group 1 with the plan's mode and counts.
settings::SetupLines openingLines(const RunPlan &plan)
{
    using namespace settings;
    SetupLines lines;
    lines[participantCountLine(1)] = QString::number(plan.participants);
    lines[winnerCountLine(1)] = QString::number(winnerCount(plan));
    // Start-up steps the stored mode once.
    lines[kModeLine] = QString::number(drawMode(plan.draw) - 1);
    return lines;
}

[[noreturn]] void refused(const QString &why)
{
    throw std::runtime_error(why.toStdString());
}

// What lies behind a row once standby is done, as a result index.
int resultIndex(Draw draw, const QString &text, int row)
{
    switch (draw) {
    case Draw::Winner:
        return text == QStringLiteral("あたり") ? 0 : 1;
    case Draw::Lottery:
        return text.mid(1).toInt();
    case Draw::Number:
        return text.toInt() - 1;
    case Draw::LadderAlone:
        return row;
    }
    return 0;
}

} // namespace

std::vector<int> runOneLottery(const RunPlan &plan, RandomSource &random, TickSource &ticks)
{
    checkPlan(plan);
    const int n = plan.participants;
    Lottery lottery(LotterySources{std::make_unique<LentRandom>(random), std::make_unique<LentTicks>(ticks)});

    const Startup opening = lottery.start(openingLines(plan));
    if (opening.layout && opening.layout->ladder.refusal)
        refused(*opening.layout->ladder.refusal);
    if (lottery.participantCount() != n || lottery.winners() != winnerCount(plan)
        || lottery.drawMode() != drawMode(plan.draw))
        refused(QStringLiteral("start-up did not open with the plan's mode and counts"));

    Entries entries;
    for (int i = 0; i < n; ++i) {
        entries.names[i] = QStringLiteral("N%1").arg(i);
        if (lottery.drawMode() == modes::kLotteryMode)
            entries.prizes[i] = QStringLiteral("P%1").arg(i);
    }
    const Standby done = lottery.standby(entries, 0, 0, [](const settings::SetupLines &) { return true; });
    if (done.refusal)
        refused(*done.refusal);
    if (done.ladder.refusal)
        refused(*done.ladder.refusal);

    std::vector<int> slot(static_cast<size_t>(n));
    for (int row = 0; row < n; ++row)
        slot[row] = resultIndex(plan.draw, lottery.results()[row].text, row);
    std::vector<int> results(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::optional<TraceStep> step = lottery.trace(i);
        if (!step)
            refused(QStringLiteral("participant %1 could not be traced").arg(i));
        results[i] = slot[step->prizeRow];
    }
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

std::unique_ptr<TickSource> tickSource(uint32_t seed, std::optional<int32_t> fixedTicks)
{
    if (fixedTicks)
        return std::make_unique<FixedTickCount>(*fixedTicks);
    return std::make_unique<RandomTickCount>(seed ^ 0x9E3779B9u);
}

SeedCheck checkSeeds(const RunPlan &plan, uint32_t seed, std::optional<int32_t> fixedTicks)
{
    const auto outcomes = [&](uint32_t s) {
        TwisterRandom random(s);
        const std::unique_ptr<TickSource> ticks = tickSource(s, fixedTicks);
        std::vector<std::vector<int>> all;
        for (long long k = 0; k < plan.lotteries; ++k)
            all.push_back(runOneLottery(plan, random, *ticks));
        return all;
    };
    const auto first = outcomes(seed);
    const auto again = outcomes(seed);
    const auto next = outcomes(seed + 1);
    SeedCheck check;
    check.lotteries = plan.lotteries;
    for (size_t k = 0; k < first.size(); ++k) {
        check.alikeSameSeed += first[k] == again[k] ? 1 : 0;
        check.alikeNextSeed += first[k] == next[k] ? 1 : 0;
    }
    return check;
}

} // namespace fairness
