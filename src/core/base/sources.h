#pragma once

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <memory>
#include <random>

// The program's one random generator: uniform single-precision values in [0, 1).
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// Mersenne Twister. The program seeds it once per run from the operating system's entropy, so
// that nobody can know a lottery in advance; tools and tests pass a seed of their own.
class TwisterRandom : public RandomSource
{
public:
    TwisterRandom();
    explicit TwisterRandom(uint32_t seed) : m_engine(seed) {}

    float next() override;

private:
    std::mt19937 m_engine;
};

// A random row index: the value times the count, rounded down.
int randomIndex(RandomSource &random, int count);

// Milliseconds since the system started, wrapped to a signed 32-bit value.
class TickSource
{
public:
    virtual ~TickSource() = default;
    virtual int32_t ticks() = 0;
};

class BootClockTicks : public TickSource
{
public:
    int32_t ticks() override;
};

// The secret that standby puts into a lottery's commitment: bytes straight from the operating
// system's entropy, never from the draw's generator, so that knowing one says nothing of the other.
class NonceSource
{
public:
    virtual ~NonceSource() = default;
    virtual QByteArray nonce(int bytes) = 0;
};

class SystemNonce : public NonceSource
{
public:
    QByteArray nonce(int bytes) override;
};

// The time a commitment names as the moment the results were fixed.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

// The sources a lottery draws from. Tools and tests pass their own.
struct LotterySources
{
    std::unique_ptr<RandomSource> random = std::make_unique<TwisterRandom>();
    std::unique_ptr<TickSource> ticks = std::make_unique<BootClockTicks>();
    std::unique_ptr<NonceSource> nonce = std::make_unique<SystemNonce>();
    std::unique_ptr<Clock> clock = std::make_unique<SystemClock>();
};
