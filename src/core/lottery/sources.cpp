#include "sources.h"

#include <array>
#include <chrono>
#include <ctime>

// The whole state of the engine from the system's entropy source, not just 32 bits of it.
static std::mt19937 entropySeeded()
{
    std::random_device device;
    std::array<uint32_t, std::mt19937::state_size> words;
    for (uint32_t &word : words)
        word = device();
    std::seed_seq seeds(words.begin(), words.end());
    return std::mt19937(seeds);
}

TwisterRandom::TwisterRandom()
    : m_engine(entropySeeded())
{
}

float TwisterRandom::next()
{
    // 24 random bits fill a float's mantissa exactly, so the value is never 1.0.
    return float(m_engine() >> 8) * 0x1p-24f;
}

int randomIndex(RandomSource &random, int count)
{
    const int index = int(random.next() * float(count));
    return index < count ? index : count - 1;
}

int32_t BootClockTicks::ticks()
{
    long long ms = 0;
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) == 0)
        ms = (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
    else
        ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now().time_since_epoch()).count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}
