#pragma once

#include "fairness_stats.h"

#include "app/seams.h"

#include <QString>

#include <cstdint>
#include <random>
#include <vector>

// Lotteries run headless with the draws of the program, in the program's order: the rung factor
// of a mode change, then standby's prize shuffle (lottery mode), ladder and slot filling
// (winner and number mode), then every participant's path.
namespace fairness {

enum class Draw {
    Winner,      // atariCount slots "あたり", the rest empty
    Lottery,     // the typed prizes "P0".."P{n-1}", shuffled
    Number,      // the numbers 1..n
    LadderAlone, // the typed prizes left in their rows: the ladder alone decides
};

QString drawName(Draw draw);

struct RunPlan
{
    Draw draw = Draw::Lottery;
    int participants = 2;
    int atariCount = 1; // winner mode only
    long long lotteries = 0;
};

// Result index of every participant in one lottery: the prize's or number's index, or 0 for
// "あたり" and 1 for an empty slot.
std::vector<int> runOneLottery(const RunPlan &plan, RandomSource &random, TickSource &ticks);

// The count table of plan.lotteries lotteries, all drawn from the one generator.
CountTable runLotteries(const RunPlan &plan, RandomSource &random, TickSource &ticks);

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
