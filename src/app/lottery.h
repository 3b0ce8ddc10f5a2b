#pragma once
// The rules of a lottery, apart from the window that shows them: the counts, the draw mode, the
// ladder, standby, tracing and the seven groups. Plain values go in (the texts of the boxes) and
// plain values come out (messages, results per row, routes, settings lines). The window, the
// fairness tool and the rule tests all run a lottery through this class.

#include "lottery_state.h"
#include "seams.h"
#include "ladder/path.h"
#include "modes/mode_cycle.h"
#include "settings/settings_file.h"

#include <array>
#include <memory>
#include <optional>

constexpr int kBoxCount = 37;

// The texts of one column of boxes, row 0..36.
using BoxTexts = std::array<QString, kBoxCount>;

// What the entry boxes hold when a rule needs them.
struct Entries
{
    BoxTexts names;
    BoxTexts prizes;
    QString memo;
};

// What lies behind a prize box once standby has fixed it: its text and text colour (0xBBGGRR).
struct RowResult
{
    QString text;
    uint32_t color = 0x000000;
};
using RowResults = std::array<RowResult, kBoxCount>;

// A group's texts as they go into the boxes.
struct GroupTexts
{
    QString memo;
    BoxTexts names;
};

// What start-up restores before the boxes are laid out: the group's texts and the window's
// edges in twips (none where the stored edge cannot be used).
struct Opening
{
    GroupTexts group;
    std::optional<float> top;
    std::optional<float> left;
};

// The mode a mode change led to, its look (none for a value that is no mode), and in lottery
// mode the prize texts to show again.
struct ModeChange
{
    int16_t mode = 0;
    std::optional<modes::ModeLook> look;
    BoxTexts prizes;
};

// One traced path: where it runs, how it is drawn, and the prize row it reached with that row's
// new text.
struct TraceStep
{
    ladder::PathRoute route;
    uint32_t color = 0;
    // 0 keeps the pen width as it is.
    int penWidth = 0;
    int prizeRow = 0;
    QString resultText;
    bool allTraced = false;
};

class Lottery
{
public:
    explicit Lottery(std::unique_ptr<RandomSource> random = std::make_unique<TwisterRandom>(),
                     std::unique_ptr<TickSource> ticks = std::make_unique<BootClockTicks>());

    const LotteryState &state() const { return st; }
    const settings::SetupLines &settingsLines() const { return st.setup_lines; }
    // The hidden results that standby fixed, with the names traced so far written behind them.
    const RowResults &results() const { return m_results; }

    // Start-up, in three steps around the window's own: the group, window edges and participant
    // count; then (after the boxes are laid out) the winner count; then the stored draw mode,
    // which the first mode change steps into the mode to open with. A step that fails is skipped.
    Opening open(const settings::SetupLines &lines);
    void openWinnerCount();
    void openDrawMode();

    // The count buttons; false (and nothing changed) at a limit.
    bool addParticipant();
    bool removeParticipant();
    bool addWinner();
    bool removeWinner();
    // After one participant fewer, the winner count may have to follow.
    bool winnersReachParticipants() const { return st.atari_count >= st.man_count; }
    // The boxes are laid out again for the participant count: tracing waits for a new standby.
    void layOut();

    // A new random ladder for the participant count. In winner mode with as many winners as
    // participants it refuses with the message to show, and nothing changes.
    std::optional<QString> makeLadder();

    // "↓切替": the stored prize list to show, or nothing when the boxes are to be emptied.
    std::optional<BoxTexts> toggleStoredPrizes();

    // The next draw mode, given what the prize boxes hold as it is left.
    ModeChange changeMode(const BoxTexts &prizeBoxes);

    // Standby, around the new ladder the window makes in between: first the checks (a refusal
    // gives the message and changes nothing), the stored prize list and the prize shuffle;
    // then the hidden results, the ready flag and the settings lines to save.
    std::optional<QString> beginStandby(const Entries &entries);
    void completeStandby(const Entries &entries, int windowLeft, int windowTop);

    // Tracing participant trace_index: nothing before standby, for a row without a participant,
    // or for a participant already traced.
    void setTraceIndex(int index);
    std::optional<TraceStep> trace();
    // The automatic run: starts at participant 0 once standby is done; after each tick's trace
    // the index moves on, and the tick of the last participant ends the run.
    bool startAutoRun();
    bool autoRunAtLast() const { return st.trace_index + 1 >= st.man_count; }
    void advanceTraceIndex();

    // The result as text, once every path has been traced: a first line with the group memo (if
    // any) and the time stamp, then one line per participant in name-box order: the name, " ："
    // and what the participant reached ("はずれ" for a row without a win in winner mode).
    QString resultSummary(const QString &stamp) const;

    // Back to the state of a fresh window, for the next lottery in the same run.
    void restart();

    // Group change: the group being left takes what the boxes show and the lines are saved;
    // then the group being entered gives its texts (or, when the save failed, the group stays).
    void stepGroup(int step);
    void storeLeftGroup(const Entries &entries);
    void stayInGroup();
    GroupTexts enterGroup();

private:
    GroupTexts groupTexts(int group);
    void shufflePrizes(const BoxTexts &prizes);
    void placeResults();
    void storeStandbyLines(const Entries &entries, int windowLeft, int windowTop);

    LotteryState st;
    RowResults m_results;
    // The names and memo at standby: a traced path writes the name behind the prize it reaches.
    BoxTexts m_names;
    QString m_memo;
    // What lay behind each prize box at standby, and the box each participant's path reached.
    RowResults m_hidden;
    std::array<int, kBoxCount> m_reached{};
    std::unique_ptr<RandomSource> m_random;
    std::unique_ptr<TickSource> m_ticks;
};
