#include "fairness_stats.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace fairness {

CountTable::CountTable(int participants, std::vector<int> multiplicity)
    : participants(participants), multiplicity(std::move(multiplicity))
{
    long long handedOut = 0;
    for (int m : this->multiplicity)
        handedOut += m;
    if (participants < 2 || handedOut != participants)
        throw std::invalid_argument("results must be handed out once to each of at least two participants");
    cells.assign(size_t(participants) * this->multiplicity.size(), 0);
}

namespace {

double expectedCount(const CountTable &table, int result)
{
    return double(table.lotteries) * table.multiplicity[result] / table.participants;
}

} // namespace

double maxRelativeDeviation(const CountTable &table)
{
    double largest = 0;
    for (int j = 0; j < table.results(); ++j) {
        const double expected = expectedCount(table, j);
        if (expected <= 0)
            continue;
        for (int i = 0; i < table.participants; ++i)
            largest = std::max(largest, std::abs(table.at(i, j) / expected - 1.0));
    }
    return largest;
}

double cellNoise(int participants, int multiplicity, long long lotteries)
{
    return std::sqrt((double(participants) / multiplicity - 1.0) / double(lotteries));
}

double expectedMaxAbsNormal(int cells)
{
    // E[max] = ∫ P(max > z) dz over z ≥ 0, by Simpson's rule; beyond z = 12 nothing is left.
    const int steps = 12000;
    const double h = 12.0 / steps;
    auto tail = [cells](double z) { return 1.0 - std::pow(std::erf(z / std::sqrt(2.0)), cells); };
    double sum = tail(0) + tail(12.0);
    for (int k = 1; k < steps; ++k)
        sum += (k % 2 != 0 ? 4 : 2) * tail(k * h);
    return sum * h / 3;
}

double scaledChiSquare(const CountTable &table)
{
    double sum = 0;
    for (int j = 0; j < table.results(); ++j) {
        const double expected = expectedCount(table, j);
        if (expected <= 0)
            continue;
        for (int i = 0; i < table.participants; ++i) {
            const double d = table.at(i, j) - expected;
            sum += d * d / expected;
        }
    }
    const int n = table.participants;
    return sum * (n - 1) / n;
}

int degreesOfFreedom(const CountTable &table)
{
    int present = 0;
    for (int m : table.multiplicity)
        present += m > 0 ? 1 : 0;
    return (table.participants - 1) * (present - 1);
}

double regularizedGammaQ(double a, double x)
{
    if (!(a > 0) || !(x >= 0))
        return std::numeric_limits<double>::quiet_NaN();
    if (x == 0)
        return 1.0;
    const double front = std::exp(a * std::log(x) - x - std::lgamma(a));
    const int maxTerms = 100000;
    const double eps = 1e-16;
    if (x < a + 1) {
        // P(a, x) = front · Σ x^k / (a (a+1) .. (a+k)).
        double term = 1.0 / a;
        double sum = term;
        for (int k = 1; k < maxTerms && term > sum * eps; ++k) {
            term *= x / (a + k);
            sum += term;
        }
        return std::max(0.0, 1.0 - front * sum);
    }
    // Q(a, x) = front · 1/(x+1-a- 1(1-a)/(x+3-a- 2(2-a)/(x+5-a- ..))), by Lentz's method.
    const double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double fraction = d;
    for (int k = 1; k < maxTerms; ++k) {
        const double an = -k * (k - a);
        b += 2;
        d = an * d + b;
        if (std::abs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::abs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double step = d * c;
        fraction *= step;
        if (std::abs(step - 1) < eps)
            break;
    }
    return front * fraction;
}

double chiSquarePValue(double statistic, int degreesOfFreedom)
{
    return regularizedGammaQ(degreesOfFreedom / 2.0, std::max(statistic, 0.0) / 2.0);
}

Summary summarize(const CountTable &table)
{
    Summary s;
    const int n = table.participants;
    s.lotteries = table.lotteries;
    if (table.lotteries <= 0)
        return s;
    s.maxDeviation = maxRelativeDeviation(table);

    int rarest = n;
    for (int m : table.multiplicity) {
        if (m > 0)
            rarest = std::min(rarest, m);
    }
    s.cellNoise = cellNoise(n, rarest, table.lotteries);
    s.degreesOfFreedom = degreesOfFreedom(table);
    // Rows and columns sum to fixed totals, so only the degrees of freedom vary on their own.
    s.maxNoise = s.cellNoise * expectedMaxAbsNormal(std::max(s.degreesOfFreedom, 1));

    s.hasOwnRow = table.results() == n
        && std::all_of(table.multiplicity.begin(), table.multiplicity.end(), [](int m) { return m == 1; });
    if (s.hasOwnRow) {
        // The mean is the number of participants keeping result i, per lottery, less one: a fair
        // permutation keeps one on average with variance one.
        long long kept = 0;
        for (int i = 0; i < n; ++i)
            kept += table.at(i, i);
        s.ownRowDeviation = double(kept) / table.lotteries - 1.0;
        s.ownRowNoise = 1.0 / std::sqrt(double(table.lotteries));
    }

    s.chiSquare = scaledChiSquare(table);
    s.pValue = chiSquarePValue(s.chiSquare, s.degreesOfFreedom);
    return s;
}

bool withinNoise(const Summary &summary, double factor)
{
    return summary.maxDeviation <= factor * summary.maxNoise;
}

} // namespace fairness
