#pragma once
// The rules of a lottery, apart from the window that shows them: one entry point for each thing a
// user (or the timer) does. Plain values go in (the texts of the boxes) and plain values come out
// (messages, results per row, routes, settings lines). The window, the fairness tool and the rule
// tests all run a lottery through these calls, so the order of its steps is written only here.

#include "base/sources.h"
#include "base/state.h"
#include "commitment/commitment.h"
#include "ladder/path.h"
#include "ladder/path_run.h"
#include "modes/mode_cycle.h"
#include "phase.h"
#include "settings/settings_file.h"

#include <array>
#include <functional>
#include <optional>

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

// A ladder as it is to be drawn: its rungs, the participants' lines and where line 0 lies.
struct LadderDrawing
{
    LadderGrid grid;
    int16_t participants = 0;
    int16_t lineTop = 0;
};

// A new ladder: made, or refused with the message to show. Neither when the step ended on a
// fault. What to draw comes with a ladder made or kept cut.
struct NewLadder
{
    bool made = false;
    std::optional<QString> refusal;
    // Refused at a new participant count: the ladder kept is cut to the participants' lines, so
    // every path stays on it, and is drawn again.
    bool keptCut = false;
    std::optional<LadderDrawing> drawing;
};

// The boxes laid out again for the participant count, which always brings a new ladder.
struct Layout
{
    int16_t participants = 0;
    // In lottery mode the prize boxes follow the participant count too.
    bool prizesFollow = false;
    NewLadder ladder;
};

// The mode a mode change led to, its look (none for a value that is no mode), and in lottery
// mode the prize texts to show again.
struct ModeChange
{
    int16_t mode = 0;
    int16_t participants = 0;
    std::optional<modes::ModeLook> look;
    BoxTexts prizes;
};

// What start-up (and the next lottery) opens with. A step that fails is skipped and leaves its
// part empty: the group's texts, the window's edges in twips (none where the stored edge cannot
// be used), the layout with its first ladder, and the mode to open in.
struct Startup
{
    GroupTexts group;
    std::optional<float> top;
    std::optional<float> left;
    std::optional<Layout> layout;
    std::optional<ModeChange> mode;
};

// Writes the settings lines; false when they could not be saved.
using SaveLines = std::function<bool(const settings::SetupLines &)>;

// Standby: a refusal (a box left empty) changes nothing. Otherwise the results are fixed, the
// final ladder is made (a refused ladder keeps the one shown) and the lines are saved; a failed
// save does not undo the standby.
struct Standby
{
    std::optional<QString> refusal;
    NewLadder ladder;
    bool saved = false;
    // The code of the commitment to the fixed results, for the room to read.
    QString code;
};

// One traced path: the participant, where the path runs, how it is drawn, and the prize row it
// reached with that row's new text and colour and what standby had fixed behind it ("あたり", the
// prize, the number, or empty for no win).
struct TraceStep
{
    int participant = 0;
    ladder::PathRoute route;
    uint32_t color = 0;
    // 0 keeps the pen width as it is.
    int penWidth = 0;
    // Where ladder line 0 lies, which the route is drawn from (and the stamp at its height).
    int lineTop = 0;
    int prizeRow = 0;
    QString resultText;
    uint32_t resultColor = 0;
    QString reached;
    // Winner mode, and the path reached あたり.
    bool win = false;
    bool allTraced = false;
};

// A running path as it stands now: the part of it drawn (twips), the rungs it went along since the
// frame before, and whether it has come to its prize.
struct RunningFrame
{
    int participant = 0;
    std::vector<QPointF> drawn;
    int rungsCrossed = 0;
    bool arrived = false;
};

// One tick of the automatic run: the path it traced (none when there was none to trace) and
// whether it was the run's last tick.
struct AutoTick
{
    std::optional<TraceStep> step;
    bool last = false;
};

// A group entered: its texts and the boxes laid out for its participant count.
struct GroupEntered
{
    GroupTexts group;
    Layout layout;
};

// A list of names taken into the name boxes: the texts of all 37 boxes and their new layout.
struct NamesTaken
{
    BoxTexts names;
    Layout layout;
};

// The column of boxes a block of rows is pasted into.
enum class BoxColumn { Names, Prizes };

// A block of rows pasted from box `first` on: the rows that found a box as they came, the texts
// those boxes take in the form the settings file keeps, how many rows found no box, and the boxes
// laid out again when the participant count rose to cover the names.
struct Pasted
{
    int first = 0;
    QStringList taken;
    QStringList texts;
    int leftOver = 0;
    std::optional<Layout> layout;
};

// The boxes put back as they were before the last list was brought in: both columns' texts and
// their layout for the participant count put back.
struct EntriesRestored
{
    BoxTexts names;
    BoxTexts prizes;
    Layout layout;
};

// What the copied result says for a row without a win in winner mode.
inline const QString kNoWin = QStringLiteral("はずれ");
// The copied result's last line begins with this, followed by the commitment's whole hash.
inline const QString kHashLineLead = QStringLiteral("照合用 SHA-256 ");

// While a path runs, the entry points that would change the lottery (standby, the counts, a new
// ladder, the mode, the stored prizes, a group change, a paste, another trace) refuse: they give
// none, or nothing made, and change nothing.
class Lottery
{
public:
    explicit Lottery(LotterySources sources = {});

    const LotteryState &state() const { return st; }
    const settings::SetupLines &settingsLines() const { return st.setup_lines; }
    // The hidden results that standby fixed, with the names traced so far written behind them.
    const RowResults &results() const { return m_results; }
    bool ready() const { return st.ready_flag == 1; }
    bool allTraced() const { return st.all_traced == 1; }
    // Read from the ready and traced flags, which only the entry points change: start, the next
    // lottery or round and every new ladder lead to Entry, standby to Ready, and the trace of the
    // last participant not yet traced (by click or by the automatic run) to Finished. A path
    // started to run holds Running until it arrives.
    LotteryPhase phase() const;

    // Start-up from the settings file's lines: the stored group, the window's edges, the boxes
    // laid out with a first ladder, the winner count and the stored draw mode.
    // The lines are taken by value: starting afresh clears the lottery's own.
    Startup start(settings::SetupLines lines);
    // The next lottery in the same run: a new start from the lines standby stored, with the
    // group's whole list (round 1).
    Startup nextLottery();

    // Prize draws in rounds. A round is possible in winner mode once every path is traced and at
    // least two participants did not win.
    bool roundPossible() const;
    // The next round: a new start with only those who did not win, in name-box order, and the
    // same winner count, lowered below their number where needed (at least 1). None, and nothing
    // changed, when no round is possible. The group's stored count and names keep the whole list:
    // standby in a later round does not store them, and a group change stores neither.
    std::optional<Startup> nextRound();
    // 1 for a lottery of the whole list, 2, 3.. for the rounds after it.
    int round() const { return m_round; }
    // The time stamp as this round shows it: "第2回 ", "第3回 ".. before it from round 2 on.
    QString roundStamp(const QString &stamp) const;

    // The count buttons; none (and nothing changed) at a limit. One participant fewer lowers a
    // winner count that no longer fits first, so the new ladder already sees it. The winner
    // buttons give the new winner count.
    std::optional<Layout> addParticipant();
    std::optional<Layout> removeParticipant();
    std::optional<int16_t> addWinner();
    std::optional<int16_t> removeWinner();
    int16_t participantCount() const { return st.man_count; }
    int16_t winners() const { return st.atari_count; }

    // A new random ladder for the participant count. In winner mode with as many winners as
    // participants it is refused, and nothing changes.
    NewLadder makeLadder();

    // A list of names brought in, before standby: the names from the first box on (the boxes past
    // them emptied), the participant count set to cover them (2..37) and the winner count kept
    // below it. Nothing is saved until the usual save points. A list brought in during a round is
    // a whole list: the round ends, and standby stores it.
    std::optional<NamesTaken> takeNames(const QStringList &names);
    // A block of rows pasted into box `first` of a column, `before` being what the boxes held
    // (kept for 元に戻す). Names fill the boxes from there down to the last box and the participant
    // count rises to cover them; prizes fill only the boxes of the current participants. None, and
    // nothing remembered, for no rows or a box outside the column.
    std::optional<Pasted> paste(BoxColumn column, int first, const QStringList &rows, const Entries &before);
    // Before a list is brought in (a file's names, a pasted or dropped block): what the boxes
    // hold and the counts, which 元に戻す puts back. Only the last one is kept, until standby or
    // a group change.
    void rememberEntries(const Entries &before);
    bool canRestoreEntries() const { return m_before.has_value() && st.ready_flag == 0; }
    // 元に戻す: the names, prizes, participant count and winner count as they were, with the boxes
    // laid out for them. None, and nothing changed, when nothing was brought in since.
    std::optional<EntriesRestored> restoreEntries();

    // "↓切替": the stored prize list to show, or nothing when the boxes are to be emptied.
    std::optional<BoxTexts> toggleStoredPrizes();

    // The next draw mode, given what the prize boxes hold as it is left.
    ModeChange changeMode(const BoxTexts &prizeBoxes);

    // "準備完了": the checks, the stored prize list, the prize shuffle, the final ladder, the
    // hidden results, the ready flag and the settings lines (the window's edges in twips among
    // them), saved through `save` as a group change saves them.
    Standby standby(const Entries &entries, int windowLeft, int windowTop, const SaveLines &save);

    // A click on participant index: nothing before standby, for a row without a participant, or
    // for a participant already traced.
    std::optional<TraceStep> trace(int index);
    // The automatic run starts at participant 0 once standby is done; each tick traces the next
    // participant, and the tick of the last participant ends the run.
    bool startAutoRun();
    AutoTick autoRunTick();

    // The draw as a show: a click (or a tick of the automatic run) starts the participant's path
    // running at a speed, refused as trace() refuses and while another path runs. The step says
    // where the path goes and how it is drawn; its result is written only when it arrives, and
    // the time runs on the lottery's tick source.
    std::optional<TraceStep> startPath(int index, ladder::RunSpeed speed);
    // A tick that finds a path running waits: nothing starts and the run does not move on.
    AutoTick autoRunStartPath(ladder::RunSpeed speed);
    // The running path at this tick; none when no path runs.
    std::optional<RunningFrame> runningFrame();
    // Ends the running path at once, arrived or skipped: its result is written behind the prize it
    // reaches and the participant counts as traced. None when no path runs.
    std::optional<TraceStep> arrive();
    std::optional<int> runningParticipant() const;

    // The participants' names as standby took them, in name-box order; empty before standby.
    QStringList participants() const;
    // The group memo as standby took it.
    const QString &memo() const { return m_memo; }
    // What the history records of a lottery at standby besides its names.
    int group() const { return st.group_no; }
    int16_t drawMode() const { return st.draw_mode; }

    // The result as text, once every path has been traced: a first line with the group memo (if
    // any) and the time stamp (with the round from round 2 on), then one line per participant in
    // name-box order: the name, " ：" and what the participant reached ("はずれ" for a row
    // without a win in winner mode).
    QString resultSummary(const QString &stamp) const;

    // The commitment standby makes to the fixed results (each round its own): the code and the
    // whole hash from standby on (empty before), and the canonical text and its nonce only once
    // every path is traced (none before, so nothing can show them early).
    QString commitmentCode() const;
    QByteArray commitmentHash() const;
    QDateTime commitmentTime() const;
    std::optional<QByteArray> commitmentText() const;
    std::optional<QByteArray> commitmentNonce() const;

    // "＋" (step +1) or "－" (step -1) of the group frame: the group being left takes what the
    // boxes show and the lines are saved; then the group being entered is laid out, as round 1.
    // In a later round the group being left keeps its whole list. None when the save failed: the
    // group stays and the boxes keep what they show, so nothing typed is lost.
    std::optional<GroupEntered> changeGroup(int step, const Entries &entries, const SaveLines &save);

private:
    void reset();
    GroupTexts groupTexts(int group);
    Layout layOut();
    // Pasted names reach `rows` boxes: the participant count rises to cover them (at most 37; it
    // never falls). None when the count stays.
    std::optional<Layout> coverRows(int rows);
    NewLadder newLadder();
    LadderDrawing drawing() const;
    std::optional<QString> standbyRefusal(const Entries &entries) const;
    void shufflePrizes(const BoxTexts &prizes);
    void placeResults();
    void storeStandbyLines(const Entries &entries, int windowLeft, int windowTop);
    void storeGroup(int group, const Entries &entries);
    std::optional<TraceStep> traceCurrent();
    // The trace of participant trace_index as it will be written, and writing it.
    std::optional<TraceStep> nextStep() const;
    void writeStep(TraceStep &step);
    std::optional<TraceStep> startCurrent(ladder::RunSpeed speed);
    bool running() const { return m_running.has_value(); }
    QStringList nonWinners() const;
    // What each participant's path leads to, as the copied result names it.
    QString fixedResult(int participant) const;
    void commitToResults();

    LotteryState st;
    RowResults m_results;
    // The names and memo at standby: a traced path writes the name behind the prize it reaches.
    BoxTexts m_names;
    QString m_memo;
    // What lay behind each prize box at standby, and the box each participant's path reached.
    RowResults m_hidden;
    std::array<int, kBoxCount> m_reached{};
    int m_round = 1;
    // What the boxes and counts were before the last list came in.
    struct Before
    {
        Entries entries;
        int16_t participants = 0;
        int16_t winners = 0;
        int round = 1;
    };
    std::optional<Before> m_before;
    std::optional<commitment::Commitment> m_commitment;
    // The path running: its step, its corners and length in twips, since which tick it runs and
    // for how long, and the rungs already told.
    struct Running
    {
        TraceStep step;
        std::vector<QPointF> points;
        double length = 0;
        int32_t since = 0;
        int duration = 0;
        int rungsTold = 0;
    };
    std::optional<Running> m_running;
    LotterySources m_sources;
};
