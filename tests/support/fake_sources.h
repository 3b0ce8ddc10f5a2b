#pragma once
// Deterministic stand-ins for a lottery's random and tick sources.

#include "base/sources.h"

#include <QList>

#include <random>
#include <vector>

// A seeded generator that counts its draws; it can also replay a fixed list first.
class TestRandom : public RandomSource
{
public:
    explicit TestRandom(unsigned seed = 1, std::vector<float> script = {})
        : m_engine(seed), m_script(std::move(script)) {}

    float next() override
    {
        ++draws;
        if (m_position < m_script.size())
            return m_script[m_position++];
        return float(m_engine() >> 8) * 0x1p-24f;
    }

    long long draws = 0;

private:
    std::mt19937 m_engine;
    std::vector<float> m_script;
    size_t m_position = 0;
};

class FixedTicks : public TickSource
{
public:
    explicit FixedTicks(int32_t value = 0) : value(value) {}
    int32_t ticks() override { return value; }
    int32_t value;
};

// The seeded generator, except that values queued come out first: a step given its draws must
// take exactly those.
class QueuedRandom : public TestRandom
{
public:
    using TestRandom::TestRandom;

    float next() override
    {
        if (queue.isEmpty())
            return TestRandom::next();
        ++draws;
        return queue.takeFirst();
    }
    // Whether `step` took exactly the given draws.
    template<typename Step>
    bool takes(const QList<float> &values, Step &&step)
    {
        queue = values;
        const long long before = draws;
        step();
        return queue.isEmpty() && draws - before == values.size();
    }

    QList<float> queue;
};

// Nonces 00 01 02.., then the same bytes plus one for the next standby, and so on: each standby
// takes its own, known in advance.
class CountingNonce : public NonceSource
{
public:
    QByteArray nonce(int bytes) override
    {
        QByteArray out(bytes, Qt::Uninitialized);
        for (int i = 0; i < bytes; ++i)
            out[i] = char(i + taken);
        ++taken;
        return out;
    }
    // The nonce the next standby will take, in hex, without taking it.
    QByteArray nextHex(int bytes = 16) const { return CountingNonce(*this).nonce(bytes).toHex(); }
    int taken = 0;
};

// The same bytes at every standby, for lotteries that are to commit alike.
class SameNonce : public NonceSource
{
public:
    QByteArray nonce(int bytes) override { return QByteArray(bytes, '\x5a'); }
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime time) : time(std::move(time)) {}
    QDateTime now() override { return time; }
    QDateTime time;
};
