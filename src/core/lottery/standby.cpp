// "準備完了": the step that fixes what lies behind every prize box.
#include "lottery.h"
#include "modes/placement.h"
#include "settings/layout.h"
#include "settings/numbers.h"

using modes::kLotteryMode;
using modes::kNumberMode;
using modes::kWinnerMode;

Standby Lottery::standby(const Entries &entries, int windowLeft, int windowTop, const SaveLines &save)
{
    if (running())
        return Standby{};
    if (std::optional<QString> refusal = standbyRefusal(entries))
        return Standby{std::move(refusal), {}, false, {}};
    if (st.draw_mode == kLotteryMode && st.stored_prizes_shown == 1) {
        for (int i = 0; i < kBoxCount; ++i)
            st.setupLine(settings::storedPrizeLine(i)) = entries.prizes[i];
    }
    shufflePrizes(entries.prizes);

    Standby done;
    done.ladder = newLadder();
    placeResults();
    m_hidden = m_results;
    m_reached.fill(-1);
    m_names = entries.names;
    m_memo = entries.memo;
    st.ready_flag = 1;
    m_before.reset();
    commitToResults();
    done.code = commitmentCode();
    storeStandbyLines(entries, windowLeft, windowTop);
    done.saved = save(st.setup_lines);
    return done;
}

// Every participant needs a name, and in lottery mode a prize.
std::optional<QString> Lottery::standbyRefusal(const Entries &entries) const
{
    if (st.man_count < 2 || st.man_count > kBoxCount)
        throw StateError("participant count outside 2..37");
    settings::checkedGroup(st.group_no);
    for (int i = 0; i < st.man_count; ++i) {
        if (entries.names[i].isEmpty())
            return QStringLiteral("名前を全部に入れて下さい");
    }
    if (st.draw_mode == kLotteryMode) {
        for (int i = 0; i < st.man_count; ++i) {
            if (entries.prizes[i].isEmpty())
                return QStringLiteral("くじ内容を全部に入れて下さい");
        }
    }
    return std::nullopt;
}

// In lottery mode the typed prizes are mixed among the participants' rows; rows past them keep
// their texts. In the other modes the results are placed after the ladder is made.
void Lottery::shufflePrizes(const BoxTexts &prizes)
{
    QStringList texts(prizes.begin(), prizes.end());
    if (st.draw_mode == kLotteryMode)
        placement::shufflePrizes(texts, st.man_count, *m_sources.random);
    for (int i = 0; i < kBoxCount; ++i)
        m_results[i] = RowResult{texts[i], 0x000000};
}

// Winner mode marks atari_count random rows "あたり" in red; number mode numbers the rows.
void Lottery::placeResults()
{
    if (st.draw_mode != kWinnerMode && st.draw_mode != kNumberMode)
        return;
    m_results.fill(RowResult{});
    if (st.draw_mode == kWinnerMode) {
        for (int row : placement::drawWinnerRows(st.man_count, st.atari_count, *m_sources.random))
            m_results[row] = RowResult{QStringLiteral("あたり"), 0x0000FF};
        return;
    }
    const QList<int> numbers = placement::drawRowNumbers(st.man_count, *m_sources.random);
    for (int row = 0; row < st.man_count; ++row)
        m_results[row] = RowResult{QString::number(numbers[row]), 0x000000};
}

// The current group, the window position, the group and the mode to open with next time.
void Lottery::storeStandbyLines(const Entries &entries, int windowLeft, int windowTop)
{
    using namespace settings;
    storeGroup(st.group_no, entries);
    st.setupLine(kWindowTopLine) = formatPosition(float(windowTop));
    st.setupLine(kWindowLeftLine) = formatPosition(float(windowLeft));
    st.setupLine(kGroupLine) = formatCount(st.group_no - 1);
    st.setupLine(kModeLine) = formatCount(st.draw_mode - 1);
}
