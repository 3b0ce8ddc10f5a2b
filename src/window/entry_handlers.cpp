// The name and prize boxes: clearing the names, the stored prize list, and the Enter key in the
// second name box.
#include "box_look.h"
#include "form1.h"
#include "units.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr uint32_t kStoredListColor = 0xC0FFFF;
constexpr int kEnterKey = 13;

} // namespace

void Form1::cmd_clr_Click()
{
    for (QLineEdit *box : man)
        setBoxText(box, QString());
}

// Switches the prize boxes between the stored prize list (on light yellow) and empty boxes.
void Form1::cmd_change_Click()
{
    const std::optional<BoxTexts> stored = lottery.toggleStoredPrizes();
    for (int i = 0; i < kBoxCount; ++i) {
        setBoxText(ans[i], stored ? (*stored)[i] : QString());
        setBackColor(ans[i], stored ? kStoredListColor : kSystemWindowColor);
    }
}

// Enter in the second name box shows or hides the automatic-trace button; the box still
// receives the key.
void Form1::man_KeyPress(int index, int keyAscii)
{
    if (index == 1 && keyAscii == kEnterKey)
        cmd_auto->setHidden(!cmd_auto->isHidden());
}

int Form1::nameBoxIndex(const QObject *watched) const
{
    for (int i = 0; i < kBoxCount; ++i) {
        if (man[i] == watched)
            return i;
    }
    return -1;
}
