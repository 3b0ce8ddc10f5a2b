#include "state.h"

#include <limits>

Q_LOGGING_CATEGORY(lcState, "amidakuji.state")

int16_t to16(long long value)
{
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw StateError("16-bit range exceeded");
    return static_cast<int16_t>(value);
}

int16_t &LadderGrid::at(int column, int row)
{
    if (column < 0 || column >= Columns || row < 0 || row >= Rows)
        throw StateError("ladder index out of range");
    return m_cells[column + Columns * row];
}

int16_t LadderGrid::at(int column, int row) const
{
    return const_cast<LadderGrid *>(this)->at(column, row);
}

template<typename Array>
static QString &checkedElement(Array &array, int index)
{
    if (index < 0 || index >= int(array.size()))
        throw StateError("string index out of range");
    return array[index];
}

QString &LotteryState::setupLine(int index)
{
    return checkedElement(setup_lines, index);
}

QString &LotteryState::savedPrize(int index)
{
    return checkedElement(saved_prizes, index);
}

const QString kColorTable = QStringLiteral(
    "8080ff80ffffffff80ff80ff80c0ff80ff80ff80800000ff00ffffffff00ff00ff0080ff80ff80ff0000"
    "c0c0ffc0ffffffffc0ffc0ffc0e0ffc0ffc0ffc0c08080ff80ffffffff80ff80ff80c0ff80ff80ff8080"
    "0000ff00ffffffff00ff00ff0080ff80ff80ff0000c0c0ffc0ffffffffc0ffc0ffc0e0ffc0ffc0ffc0c0");

uint32_t tableColor(const QString &table, int index)
{
    if (index < 0 || 6 * index + 6 > table.size())
        throw StateError("colour index out of range");
    bool ok = false;
    const uint value = table.mid(6 * index, 6).toUInt(&ok, 16);
    if (!ok)
        throw StateError("colour table entry is not hexadecimal");
    return value;
}
