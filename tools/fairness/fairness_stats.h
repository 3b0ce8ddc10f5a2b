#pragma once

#include <vector>

// Figures that tell whether many lotteries handed every result to every participant equally often.
namespace fairness {

// How often participant i (row) got result j (column) over a number of lotteries. Every lottery
// hands out the same results, result j to multiplicity[j] participants: 1 for a prize or a number,
// a and n - a for "あたり" and an empty slot.
struct CountTable
{
    CountTable(int participants, std::vector<int> multiplicity);

    long long &at(int participant, int result) { return cells[participant * results() + result]; }
    long long at(int participant, int result) const { return cells[participant * results() + result]; }
    int results() const { return int(multiplicity.size()); }

    int participants;
    std::vector<int> multiplicity;
    std::vector<long long> cells;
    long long lotteries = 0;
};

struct Summary
{
    long long lotteries = 0;
    double maxDeviation = 0;    // max over cells of |count / expected - 1|
    double cellNoise = 0;       // standard error of one cell's relative deviation, at its largest
    double maxNoise = 0;        // expected size of maxDeviation for fair lotteries
    bool hasOwnRow = false;     // a table of distinct results, one per participant
    double ownRowDeviation = 0; // mean over i of n·P(i gets result i) - 1
    double ownRowNoise = 0;     // its standard error
    double chiSquare = 0;       // Pearson's sum scaled by (n - 1) / n
    int degreesOfFreedom = 0;
    double pValue = 1;
};

// Max over cells of |count / expected - 1|; for distinct results this is max |n·P(i gets j) - 1|.
double maxRelativeDeviation(const CountTable &table);

// Standard error of one cell's relative deviation when the result occurs m times among n
// participants in each of N lotteries: sqrt((n/m - 1) / N).
double cellNoise(int participants, int multiplicity, long long lotteries);

// E[max |Z_k|] over k = 1..cells independent standard normal Z_k.
double expectedMaxAbsNormal(int cells);

// Pearson's sum over the table against equal chances, times (n - 1) / n. Row and column totals
// of such a table are fixed, so for fair lotteries the sum is n / (n - 1) times a chi-square of
// (n - 1)(k - 1) degrees of freedom; the factor brings it back to that chi-square.
double scaledChiSquare(const CountTable &table);
int degreesOfFreedom(const CountTable &table);

// Q(a, x) = Γ(a, x) / Γ(a), the regularized upper incomplete gamma function, for a > 0, x ≥ 0.
double regularizedGammaQ(double a, double x);

// Chance that a chi-square of the given degrees of freedom reaches the statistic.
double chiSquarePValue(double statistic, int degreesOfFreedom);

Summary summarize(const CountTable &table);

// The deviation lies within factor times its expected size for fair lotteries.
bool withinNoise(const Summary &summary, double factor = 3.0);

} // namespace fairness
