#include "panel_text.h"
#include "units.h"

namespace panel {

QString participantCaption(int16_t manCount)
{
    return QStringLiteral("参加\r\n%1人").arg(manCount);
}

QString winnerCaption(int16_t atariCount)
{
    return QStringLiteral("あたり%1本").arg(atariCount);
}

int outerHeightTwips(int16_t manCount)
{
    return kRowStepTwips * manCount + 1380;
}

} // namespace panel
