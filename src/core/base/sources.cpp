#include "sources.h"

#include <QRandomGenerator>

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <ctime>

// Fills the words from the kernel's random pool in one call. std::random_device asks the
// processor word by word instead, which on some machines (virtual ones above all) takes over
// ten milliseconds for a whole state and held up the window's start; it remains the fallback.
static void fillFromSystem(std::array<uint32_t, std::mt19937::state_size> &words)
{
    auto *bytes = reinterpret_cast<unsigned char *>(words.data());
    size_t done = 0;
    while (done < sizeof words) {
        const ssize_t got = getrandom(bytes + done, sizeof words - done, 0);
        if (got > 0)
            done += size_t(got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    if (done == sizeof words)
        return;
    std::random_device device;
    for (size_t i = done / sizeof(uint32_t); i < words.size(); ++i)
        words[i] = device();
}

// The whole state of the engine from the system's entropy source, not just 32 bits of it.
static std::mt19937 entropySeeded()
{
    std::array<uint32_t, std::mt19937::state_size> words;
    fillFromSystem(words);
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

// QRandomGenerator::system() reads the operating system's source (getrandom(2) on Linux).
QByteArray SystemNonce::nonce(int bytes)
{
    QByteArray out(bytes, Qt::Uninitialized);
    QList<quint32> words((bytes + 3) / 4);
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    std::memcpy(out.data(), words.constData(), size_t(bytes));
    return out;
}
