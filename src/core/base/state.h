#pragma once
// The state every part of the lottery shares. Its fields carry short names; a glossary for a
// newcomer:
//   man        a participant; man(i) is the name box of row i, man_count how many take part
//   ans        a prize box (the answer a path reaches); ans(i) is the box of row i
//   atari      a winner ("あたり", a winning slot); atari_count how many slots win
//   mem        the group's memo, a free text kept with each of the seven groups
//   group      one of the seven remembered lists of counts, memo and names in set_up.ini
//   draw_mode  winner mode, lottery mode (typed prizes shuffled) or number mode
//   standby    "準備完了": the step that checks the entries and fixes the hidden results
//   ready      standby is done; paths may be traced
//   trace      following one participant's path down the ladder to a prize box
//   rung       a short line between two neighbouring ladder lines
//   rung_density  set at each mode change; a higher value places fewer rungs
//   trace_index   the participant whose path is traced next (by click or by the automatic run)
//   color_table   the path colours, six hex digits each, one per participant
//   line_top   how far below the window's top ladder line 0 lies, in twips
//   twip       1/1440 inch, the unit of every position and size (see units.h)
//   setup_lines  the lines of set_up.ini by number (settings/layout.h says what each holds)
//   saved_prizes the typed prizes kept while lottery mode is left
//   stored_prizes_shown  whether "↓切替" shows the stored prize list in the prize boxes

#include <QLoggingCategory>
#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>

// The rows of boxes: at most 37 participants, names per group and stored prizes.
constexpr int kBoxCount = 37;

// Where a step that ended on a StateError is reported, with its reason, so that a user's report
// can carry it.
Q_DECLARE_LOGGING_CATEGORY(lcState)

// Thrown when a step would leave an array or the 16-bit range. The step that catches it ends
// there, so nothing past the faulty point changes.
struct StateError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Runs a step that ends where it would leave an array or the 16-bit range, logs why, and goes on
// after it. True when the step ran to its end.
template<typename Step>
bool endingOnStateError(Step &&step)
{
    try {
        step();
        return true;
    } catch (const StateError &error) {
        qCWarning(lcState, "step ended: %s", error.what());
        return false;
    }
}

// Narrows to a 16-bit count, refusing values outside -32768..32767.
int16_t to16(long long value);

// The rung grid: columns 0..40 by rows 0..44, element (c, r) at c + 41 * r.
class LadderGrid
{
public:
    static constexpr int Columns = 41;
    static constexpr int Rows = 45;

    int16_t &at(int column, int row);
    int16_t at(int column, int row) const;

private:
    std::array<int16_t, Columns * Rows> m_cells{};
};

// The record of window-level variables that every handler of Form1 shares.
struct LotteryState
{
    static constexpr int SetupLineCount = 331;
    // The prizes kept while lottery mode is left: indices 0..37.
    static constexpr int SavedPrizeCount = kBoxCount + 1;

    int16_t man_count = 0;
    int16_t atari_count = 0;
    int16_t draw_mode = 0;
    float rung_density = 0.0f;
    LadderGrid ladder;
    int16_t trace_index = 0;
    int16_t ready_flag = 0;
    int16_t all_traced = 0;
    QString color_table;
    int16_t line_top = 0;
    std::array<QString, SavedPrizeCount> saved_prizes;
    int16_t stored_prizes_shown = 0;
    std::array<QString, SetupLineCount> setup_lines;
    int16_t group_no = 0;
    int16_t prev_group_no = 0;

    // Checked access to the string arrays.
    QString &setupLine(int index);
    QString &savedPrize(int index);
};

// The 42 path colours set at start-up: one sequence of 21 repeated, six hex digits each.
extern const QString kColorTable;

// Colour number i of a colour table, as the value 0xBBGGRR its six digits spell.
uint32_t tableColor(const QString &table, int index);
