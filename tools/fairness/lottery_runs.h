#pragma once

#include "fairness_stats.h"

#include "base/sources.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

// Lotteries run headless through the program's own rules, with the entry points of class Lottery
// that the window calls: start from settings lines that give the mode and the counts, standby,
// then a click on every participant.
namespace fairness {

enum class Draw {
    Winner,      // atariCount slots "あたり", the rest empty
    Lottery,     // the typed prizes "P0".."P{n-1}", shuffled
    Number,      // the numbers 1..n
    LadderAlone, // lottery mode, but the row a path reaches counts, not what lies there
};

QString drawName(Draw draw);

struct RunPlan
{
    Draw draw = Draw::Lottery;
    int participants = 2;
    int atariCount = 1; // winner mode only
    long long lotteries = 0;
};

// Result index of every participant in one lottery: the prize's or number's index, 0 for
// "あたり" and 1 for an empty slot, or the row reached for the ladder alone.
std::vector<int> runOneLottery(const RunPlan &plan, RandomSource &random, TickSource &ticks);

// The count table of plan.lotteries lotteries, all drawn from the one generator.
CountTable runLotteries(const RunPlan &plan, RandomSource &random, TickSource &ticks);

// The tick source of a run: the fixed count, or without one random counts from the seed.
std::unique_ptr<TickSource> tickSource(uint32_t seed, std::optional<int32_t> fixedTicks);

// Runs of plan.lotteries lotteries, each from TwisterRandom(seed) and its tick source: how many
// lotteries came out alike in a second run from the same seed and in one from seed + 1.
// Nothing else enters a run, so the first count is all of them.
struct SeedCheck
{
    long long lotteries = 0;
    long long alikeSameSeed = 0;
    long long alikeNextSeed = 0;
};
SeedCheck checkSeeds(const RunPlan &plan, uint32_t seed, std::optional<int32_t> fixedTicks);

// The same tick count for every ladder, so the warm-up is the same number of draws each time.
class FixedTickCount : public TickSource
{
public:
    explicit FixedTickCount(int32_t value) : m_value(value) {}
    int32_t ticks() override { return m_value; }

private:
    int32_t m_value;
};

// A tick count anywhere in the signed 32-bit range for every ladder, from a generator of its own
// (the clock has nothing to do with the program's generator).
class RandomTickCount : public TickSource
{
public:
    explicit RandomTickCount(uint32_t seed) : m_engine(seed) {}
    int32_t ticks() override { return int32_t(m_engine()); }

private:
    std::mt19937 m_engine;
};

} // namespace fairness
