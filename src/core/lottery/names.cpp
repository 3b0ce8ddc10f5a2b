// Names brought in from a list: a whole list read from a file, or lines pasted into the boxes.
#include "lottery.h"
#include "names/storable.h"

#include <algorithm>
#include <utility>

std::optional<NamesTaken> Lottery::takeNames(const QStringList &names)
{
    if (st.ready_flag != 0)
        return std::nullopt;
    NamesTaken taken;
    const int count = int(std::min<qsizetype>(names.size(), kBoxCount));
    for (int i = 0; i < count; ++i)
        taken.names[i] = names[i];
    st.man_count = to16(std::max(count, 2));
    // The winner count keeps below the participant count, as the count buttons keep it.
    if (st.atari_count >= st.man_count)
        st.atari_count = to16(std::max(st.man_count - 1, 1));
    m_round = 1;
    taken.layout = layOut();
    return taken;
}

std::optional<Layout> Lottery::coverRows(int rows)
{
    const int wanted = std::min(rows, kBoxCount);
    if (st.ready_flag != 0 || wanted <= st.man_count)
        return std::nullopt;
    st.man_count = to16(wanted);
    return layOut();
}

std::optional<Pasted> Lottery::paste(BoxColumn column, int first, const QStringList &rows, const Entries &before)
{
    if (running())
        return std::nullopt;
    if (first < 0 || first >= kBoxCount || rows.isEmpty())
        return std::nullopt;
    rememberEntries(before);
    const int room = column == BoxColumn::Names ? kBoxCount : st.man_count;
    Pasted pasted;
    pasted.first = first;
    pasted.taken = rows.mid(0, std::clamp<qsizetype>(rows.size(), 0, std::max(0, room - first)));
    for (const QString &row : pasted.taken)
        pasted.texts << names::storableForm(row);
    pasted.leftOver = int(rows.size() - pasted.taken.size());
    if (column == BoxColumn::Names)
        pasted.layout = coverRows(first + int(pasted.taken.size()));
    return pasted;
}

void Lottery::rememberEntries(const Entries &before)
{
    if (st.ready_flag != 0)
        return;
    m_before = Before{before, st.man_count, st.atari_count, m_round};
}

std::optional<EntriesRestored> Lottery::restoreEntries()
{
    if (!canRestoreEntries())
        return std::nullopt;
    const Before before = *std::exchange(m_before, std::nullopt);
    st.man_count = before.participants;
    st.atari_count = before.winners;
    m_round = before.round;
    return EntriesRestored{before.entries.names, before.entries.prizes, layOut()};
}
