// amidakuji-fairness: runs many lotteries headless and reports how evenly the results fall.
#include "fairness_stats.h"
#include "lottery_runs.h"
#include "base/state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

using namespace fairness;

namespace {

constexpr long long kSeedCheckLotteries = 1000;

struct Options
{
    QList<int> counts;
    QList<Draw> draws;
    QStringList atari; // numbers, or "half" for n / 2
    long long lotteries = 0;
    uint32_t seed = 0;
    std::optional<int32_t> fixedTicks; // none: a random tick count for every ladder
    bool csv = false;
};

[[noreturn]] void fail(const QString &message)
{
    QTextStream(stderr) << "amidakuji-fairness: " << message << Qt::endl;
    std::exit(2);
}

QList<int> numberList(const QString &text, const char *what)
{
    QList<int> numbers;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok)
            fail(QStringLiteral("%1: not a number: %2").arg(QLatin1String(what), part));
        numbers << value;
    }
    return numbers;
}

Options readOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs many lotteries through the program's own lottery rules and reports, for every draw mode and "
        "participant count, how far the chance of each participant at each result strays from even."));
    parser.addHelpOption();
    const QCommandLineOption counts(QStringLiteral("counts"), QStringLiteral("Participant counts, 2..37 (default 2,3,5,10,20,37)."),
                                    QStringLiteral("list"), QStringLiteral("2,3,5,10,20,37"));
    const QCommandLineOption lotteries(QStringLiteral("lotteries"), QStringLiteral("Lotteries per row (default 100000)."),
                                       QStringLiteral("n"), QStringLiteral("100000"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Generator seed (default 5489); the program itself seeds from the system's entropy."),
                                  QStringLiteral("n"), QStringLiteral("5489"));
    const QCommandLineOption modes(QStringLiteral("modes"),
                                   QStringLiteral("Any of winner, lottery, number, ladder (default all)."),
                                   QStringLiteral("list"), QStringLiteral("winner,lottery,number,ladder"));
    const QCommandLineOption atari(QStringLiteral("atari"),
                                   QStringLiteral("Winner counts in winner mode; half is n/2 rounded down (default 1,half)."),
                                   QStringLiteral("list"), QStringLiteral("1,half"));
    const QCommandLineOption ticks(QStringLiteral("ticks"),
                                   QStringLiteral("Tick count behind every warm-up, or random for a new one each time (default 12345)."),
                                   QStringLiteral("n"), QStringLiteral("12345"));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Comma-separated output."));
    parser.addOptions({counts, lotteries, seed, modes, atari, ticks, csv});
    parser.process(app);

    Options o;
    o.counts = numberList(parser.value(counts), "counts");
    for (int n : o.counts) {
        if (n < 2 || n > kBoxCount)
            fail(QStringLiteral("participant count %1 outside 2..37").arg(n));
    }
    bool ok = false;
    o.lotteries = parser.value(lotteries).toLongLong(&ok);
    if (!ok || o.lotteries < 1)
        fail(QStringLiteral("lotteries: a positive number please"));
    o.seed = parser.value(seed).toUInt(&ok);
    if (!ok)
        fail(QStringLiteral("seed: a number 0..4294967295 please"));
    for (const QString &name : parser.value(modes).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto all = {Draw::Winner, Draw::Lottery, Draw::Number, Draw::LadderAlone};
        const auto found = std::find_if(all.begin(), all.end(), [&](Draw d) { return drawName(d) == name.trimmed(); });
        if (found == all.end())
            fail(QStringLiteral("unknown mode: %1").arg(name));
        o.draws << *found;
    }
    o.atari = parser.value(atari).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parser.value(ticks) != QLatin1String("random")) {
        o.fixedTicks = parser.value(ticks).toInt(&ok);
        if (!ok)
            fail(QStringLiteral("ticks: a 32-bit number or random please"));
    }
    o.csv = parser.isSet(csv);
    return o;
}

// The plans of one mode and count: one per distinct winner count in winner mode.
QList<RunPlan> plansFor(const Options &o, Draw draw, int n)
{
    if (draw != Draw::Winner)
        return {RunPlan{draw, n, 0, o.lotteries}};
    QList<int> winners;
    for (const QString &a : o.atari) {
        bool ok = true;
        const int count = a.trimmed() == QLatin1String("half") ? n / 2 : a.trimmed().toInt(&ok);
        if (!ok || count < 1 || count >= n)
            fail(QStringLiteral("winner count %1 does not fit %2 participants").arg(a).arg(n));
        if (!winners.contains(count))
            winners << count;
    }
    QList<RunPlan> plans;
    for (int count : winners)
        plans << RunPlan{draw, n, count, o.lotteries};
    return plans;
}

// A winner-mode table with one winner of two has one result per participant too, but "own row"
// means nothing there.
bool showsOwnRow(const RunPlan &plan, const Summary &s)
{
    return s.hasOwnRow && plan.draw != Draw::Winner;
}

QString tableLine(const RunPlan &plan, const Summary &s)
{
    const QString atari = plan.draw == Draw::Winner ? QString::number(plan.atariCount) : QStringLiteral("-");
    const QString ownRow = showsOwnRow(plan, s) ? QString::asprintf("%+8.4f %7.4f", s.ownRowDeviation, s.ownRowNoise)
                                       : QStringLiteral("       -       -");
    return QString::asprintf("%-8s %3d %5s %10lld %8.4f %7.4f %7.4f %6.2f %s %9.1f %5d %8.2g  %s",
                             qPrintable(drawName(plan.draw)), plan.participants, qPrintable(atari),
                             s.lotteries, s.maxDeviation, s.cellNoise, s.maxNoise, s.maxDeviation / s.maxNoise,
                             qPrintable(ownRow), s.chiSquare, s.degreesOfFreedom, s.pValue,
                             withinNoise(s) ? "yes" : "NO");
}

QString csvLine(const RunPlan &plan, const Summary &s)
{
    return QString::asprintf("%s,%d,%d,%lld,%.6f,%.6f,%.6f,%s,%s,%.3f,%d,%.6g,%d",
                             qPrintable(drawName(plan.draw)), plan.participants,
                             plan.draw == Draw::Winner ? plan.atariCount : 0, s.lotteries, s.maxDeviation,
                             s.cellNoise, s.maxNoise,
                             showsOwnRow(plan, s) ? qPrintable(QString::number(s.ownRowDeviation, 'f', 6)) : "",
                             showsOwnRow(plan, s) ? qPrintable(QString::number(s.ownRowNoise, 'f', 6)) : "",
                             s.chiSquare, s.degreesOfFreedom, s.pValue, withinNoise(s) ? 1 : 0);
}

// The seed is all that tells two runs apart: every lottery comes out again from the same seed,
// and almost none from the next one. Checked at the largest participant count of each mode.
void printSeedChecks(QTextStream &out, const Options &o)
{
    if (o.counts.isEmpty())
        return;
    const long long lotteries = std::min(o.lotteries, kSeedCheckLotteries);
    const int n = *std::max_element(o.counts.begin(), o.counts.end());
    out << "\nseed check: " << lotteries << " lotteries from seed " << o.seed << ", again from " << o.seed
        << ", and from " << o.seed + 1 << "; how many came out alike\n"
        << "mode       n atari  same seed  next seed\n";
    for (Draw draw : o.draws) {
        RunPlan plan = plansFor(o, draw, n).first();
        plan.lotteries = lotteries;
        const SeedCheck check = checkSeeds(plan, o.seed, o.fixedTicks);
        const QString atari = draw == Draw::Winner ? QString::number(plan.atariCount) : QStringLiteral("-");
        out << QString::asprintf("%-8s %3d %5s %10lld %10lld\n", qPrintable(drawName(draw)), n, qPrintable(atari),
                                 check.alikeSameSeed, check.alikeNextSeed);
        out.flush();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("amidakuji-fairness"));
    const Options o = readOptions(app);

    // One generator for the whole run, never reseeded, as in the program.
    TwisterRandom random(o.seed);
    const std::unique_ptr<TickSource> ticks = tickSource(o.seed, o.fixedTicks);

    QTextStream out(stdout);
    if (o.csv) {
        out << "mode,participants,atari,lotteries,max_deviation,cell_noise,max_noise,own_row_deviation,"
               "own_row_noise,chi_square,df,p_value,within_3x_noise\n";
    } else {
        out << "seed " << o.seed << ", warm-up ticks "
            << (o.fixedTicks ? QString::number(*o.fixedTicks) : QStringLiteral("random")) << "\n"
            << "mode       n atari  lotteries  max|dev|  cell σ   noise dev/nz  own row    ±σ"
               "       chi²    df  p-value  ≤3×noise\n";
    }
    out.flush();
    try {
        for (Draw draw : o.draws) {
            for (int n : o.counts) {
                for (const RunPlan &plan : plansFor(o, draw, n)) {
                    const Summary s = summarize(runLotteries(plan, random, *ticks));
                    out << (o.csv ? csvLine(plan, s) : tableLine(plan, s)) << "\n";
                    out.flush();
                }
            }
        }
        if (!o.csv)
            printSeedChecks(out, o);
    } catch (const std::exception &e) {
        fail(QString::fromUtf8(e.what()));
    }
    return 0;
}
