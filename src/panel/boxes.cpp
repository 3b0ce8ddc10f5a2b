// The name and prize columns: layout for the participant count, clearing the names, the
// stored prize list, and the Enter key in the second name box.
#include "app/form1.h"
#include "app/units.h"
#include "modes/mode_cycle.h"
#include "panel_text.h"
#include "settings/layout.h"

#include <QLineEdit>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr uint32_t kStoredListColor = 0xC0FFFF;
constexpr int kEnterKey = 13;

// A participant count outside 0..37 would address a box that does not exist.
QLineEdit *boxAt(const std::array<QLineEdit *, Form1::BoxCount> &column, int index)
{
    if (index < 0 || index >= Form1::BoxCount)
        throw StateError("box index out of range");
    return column[index];
}

} // namespace

void Form1::man_set()
{
    st.ready_flag = 0;
    for (int i = 0; i < st.man_count; ++i) {
        boxAt(man, i)->show();
        if (st.draw_mode == modes::kLotteryMode)
            boxAt(ans, i)->show();
    }
    for (int i = st.man_count; i < BoxCount; ++i) {
        boxAt(man, i)->hide();
        if (st.draw_mode == modes::kLotteryMode)
            boxAt(ans, i)->hide();
    }
    lbl_1->setText(panel::participantCaption(st.man_count));
    setOuterHeightTwips(panel::outerHeightTwips(st.man_count));
    cmd_make_Click();
}

void Form1::cmd_clr_Click()
{
    for (QLineEdit *box : man)
        box->setText(QString());
}

// Switches the prize boxes between the stored prize list (on light yellow) and empty boxes.
void Form1::cmd_change_Click()
{
    if (st.stored_prizes_shown != 0) {
        st.stored_prizes_shown = 0;
        for (QLineEdit *box : ans) {
            box->setText(QString());
            setBackColor(box, kSystemWindowColor);
        }
    } else {
        st.stored_prizes_shown = 1;
        for (int i = 0; i < BoxCount; ++i) {
            setBoxText(ans[i], st.setupLine(settings::storedPrizeLine(i)));
            setBackColor(ans[i], kStoredListColor);
        }
    }
}

// Enter in the second name box shows or hides the automatic-trace button; the box still
// receives the key.
void Form1::man_KeyPress(int index, int &keyAscii)
{
    if (index == 1 && keyAscii == kEnterKey)
        cmd_auto->setHidden(!cmd_auto->isHidden());
}

// The hidden test button has no action.
void Form1::cmd_test_Click()
{
}

int Form1::nameBoxIndex(const QObject *watched) const
{
    for (int i = 0; i < BoxCount; ++i) {
        if (man[i] == watched)
            return i;
    }
    return -1;
}
