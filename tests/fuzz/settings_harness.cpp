#include "settings_harness.h"
#include "support/encodable_text.h"

#include "lottery/lottery.h"
#include "modes/mode_cycle.h"
#include "panel/panel_text.h"
#include "settings/cp932.h"
#include "settings/layout.h"
#include "settings/numbers.h"
#include "settings/settings_file.h"
#include "settings/startup_rules.h"
#include "units.h"

#include <QBuffer>
#include <QFile>

#include <cmath>
#include <memory>
#include <utility>

namespace fuzz {

using namespace settings;

namespace {

SetupLines readBytes(QByteArrayView bytes)
{
    // Over the caller's bytes, without a copy.
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    SetupLines lines;
    readSettings(buffer, lines);
    return lines;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString lineProblem(int line, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}

QString readProblem(const SetupLines &lines)
{
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const bool inFile = k >= 1 && k <= std::size_t(kLineCount);
        if (!inFile && !lines[k].isEmpty())
            return lineProblem(int(k), QStringLiteral("filled although it is not in the file"));
        if (lines[k].contains(u'\r') || lines[k].contains(u'\n'))
            return lineProblem(int(k), QStringLiteral("holds a line break"));
        if (lines[k].size() > kMaxLineBytes)
            return lineProblem(int(k), QStringLiteral("longer than a line is read"));
    }
    return {};
}

// A window edge start-up gave: the line is reset or kept, and the edge gives a pixel position.
QString windowEdgeProblem(const SetupLines &lines, int line, std::optional<float> edge)
{
    if (testedBelow(lines[line], 0))
        return lineProblem(line, QStringLiteral("still negative or no number after start-up"));
    if (edge && (!std::isfinite(*edge) || *edge < 0.0f))
        return lineProblem(line, QStringLiteral("gives the edge %1").arg(double(*edge)));
    if (edge && std::abs(positionToPixels(*edge)) > 1000000)
        return lineProblem(line, QStringLiteral("puts the window out of reach"));
    return {};
}

// A fixed tick count, so that a ladder's warm-up draws nothing.
class NoTicks : public TickSource
{
public:
    int32_t ticks() override { return 0; }
};

// Start-up through the lottery's own entry point, with the checks its outcome must pass. The
// lines become the ones start-up repaired, which the next save writes.
QString startupProblem(SetupLines &lines)
{
    Lottery lottery(LotterySources{std::make_unique<TwisterRandom>(1), std::make_unique<NoTicks>()});
    const Startup opening = lottery.start(lines);
    const LotteryState &st = lottery.state();
    lines = lottery.settingsLines();
    if (!isGroup(st.group_no))
        return QStringLiteral("opens group %1").arg(st.group_no);
    for (const auto &[line, edge] : {std::pair(kWindowTopLine, opening.top), std::pair(kWindowLeftLine, opening.left)}) {
        if (QString problem = windowEdgeProblem(lines, line, edge); !problem.isEmpty())
            return problem;
    }

    if (!opening.layout)
        return QStringLiteral("opens with %1 participants and no layout").arg(st.man_count);
    const int16_t manCount = opening.layout->participants;
    if (manCount < 2 || manCount > kBoxCount)
        return QStringLiteral("opens with %1 participants").arg(manCount);
    if (!opening.layout->ladder.made)
        return QStringLiteral("opens without a ladder");
    // A group change later opens any group from these lines.
    for (int g = 1; g <= kGroupCount; ++g) {
        const int16_t participants = groupCounts(lines, g).participants;
        if (participants < 2 || participants > kBoxCount)
            return QStringLiteral("group %1 would open with %2 participants").arg(g).arg(participants);
    }
    // What man_set and atari_set show from the counts.
    if (panel::participantCaption(manCount).isEmpty() || panel::outerHeightTwips(manCount) <= 0)
        return QStringLiteral("no layout for %1 participants").arg(manCount);
    if (testedBelow(lines[kSpareWinnerLine], 1))
        return lineProblem(kSpareWinnerLine, QStringLiteral("below 1 after start-up"));
    if (panel::winnerCaption(st.atari_count).isEmpty())
        return QStringLiteral("no winner caption");

    if (!opening.mode || !opening.mode->look || st.draw_mode < modes::kWinnerMode || st.draw_mode > modes::kNumberMode)
        return QStringLiteral("opens in mode %1").arg(st.draw_mode);
    return {};
}

// A line read from a file that code page 932 holds whole comes back unchanged.
QString roundTripProblem(const SetupLines &before, const SetupLines &after)
{
    for (int k = 1; k <= kLineCount; ++k) {
        if (after[k] != before[k] && encodableText(before[k]))
            return lineProblem(k, QStringLiteral("reads back as another text"));
        if (!encodableText(after[k]))
            return lineProblem(k, QStringLiteral("still holds a character the file cannot hold"));
    }
    return {};
}

} // namespace

QString fileFormProblem(const QByteArray &bytes)
{
    if (!bytes.endsWith("\r\n"))
        return QStringLiteral("the file does not end with CR LF");
    // One pass without splitting: the fuzzer checks every save this way.
    int line = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool lf = bytes[i] == '\n';
        const bool strayCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        if (strayCr || (lf && (i == 0 || bytes[i - 1] != '\r')))
            return lineProblem(line, QStringLiteral("not ended by CR LF alone"));
        line += lf;
    }
    if (line - 1 != kLineCount)
        return QStringLiteral("the file has %1 lines").arg(line - 1);
    return {};
}

namespace {

// The checks in memory; `saved` receives the lines the next save writes.
QString memoryProblem(QByteArrayView input, SetupLines &saved)
{
    SetupLines lines = readBytes(input);
    if (QString problem = readProblem(lines); !problem.isEmpty())
        return problem;

    if (QString problem = startupProblem(lines); !problem.isEmpty())
        return problem;
    saved = lines;

    // The next save: the file's form, and what reading it gives.
    const QByteArray bytes = settingsBytes(lines);
    if (QString problem = fileFormProblem(bytes); !problem.isEmpty())
        return problem;
    const SetupLines again = readBytes(bytes);
    if (QString problem = roundTripProblem(lines, again); !problem.isEmpty())
        return problem;
    // Lines that read back unchanged write the same bytes again; only changed ones need the write.
    if (again != lines && settingsBytes(again) != bytes)
        return QStringLiteral("writing what was read back gives other bytes");
    return {};
}

} // namespace

QString settingsProblem(QByteArrayView input)
{
    SetupLines saved;
    return memoryProblem(input, saved);
}

QString settingsFileProblem(QByteArrayView input, const QString &folder)
{
    SetupLines saved;
    if (QString problem = memoryProblem(input, saved); !problem.isEmpty())
        return problem;

    // The same bytes read from a file.
    const QString inputPath = folder + QStringLiteral("/input.ini");
    {
        QFile file(inputPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(input.data(), input.size()) != input.size())
            return QStringLiteral("cannot write the input to %1").arg(inputPath);
    }
    SetupLines fromFile;
    readSettingsFile(inputPath, fromFile);
    if (fromFile != readBytes(input))
        return QStringLiteral("reading the file differs from reading its bytes");

    // The save itself: the file holds what the lines give, and reads back as those bytes do.
    const QByteArray bytes = settingsBytes(saved);
    const QString path = folder + QStringLiteral("/set_up.ini");
    const SaveResult result = writeSettingsFile(path, saved);
    if (!result.ok)
        return result.message;
    if (fileBytes(path) != bytes)
        return QStringLiteral("the file written holds other bytes than the lines give");
    SetupLines again;
    readSettingsFile(path, again);
    if (again != readBytes(bytes))
        return QStringLiteral("reading the written file differs from reading its bytes");
    return {};
}

} // namespace fuzz
