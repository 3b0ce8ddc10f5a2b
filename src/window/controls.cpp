// The window's controls: names, captions, geometry in twips, fonts, colours and initial states.
#include "box_look.h"
#include "form1.h"
#include "accessibility.h"
#include "text_validator.h"
#include "units.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Each control keeps its rectangle in twips and its font size at 100 %, from which every view
// lays it out.
constexpr auto kTwipsRect = "twipsRect";
constexpr auto kPointSize = "pointSizeAt100";

void placeInTwips(QWidget *control, int left, int top, int width, int height)
{
    const QRect twips(left, top, width, height);
    control->setProperty(kTwipsRect, twips);
    control->setGeometry(View{}.rect(twips, false));
}

template<typename Control>
Control *place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    placeInTwips(control, left, top, width, height);
    return control;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left, int top,
                    int width, int height)
{
    auto *b = place(new QPushButton(caption, parent), name, left, top, width, height);
    b->setAutoDefault(false);
    return b;
}

// The small "＋"/"－" buttons are bold 9 pt.
QPushButton *stepButton(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *b = button(parent, name, caption, left, top, 375, 255);
    b->setFont(programFont(9, true));
    return b;
}

// A text wider than its box is also the box's tool tip, so that it can be read whole.
void showWholeTextAsToolTip(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const int room = edit->contentsRect().width() - 4;
        edit->setToolTip(edit->fontMetrics().horizontalAdvance(text) > room ? text : QString());
    });
}

QLineEdit *box(QWidget *parent, const QString &name, int left, int top, int width, int height)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    placeInTwips(edit, left, top, width, height);
    edit->setMaxLength(kBoxTypingLimit);
    edit->setValidator(new StoredTextValidator(edit));
    edit->setFrame(true);
    edit->setTextMargins(0, 0, 0, 0);
    showWholeTextAsToolTip(edit);
    return edit;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
              int height, uint32_t textColor)
{
    auto *l = place(new QLabel(caption, parent), name, left, top, width, height);
    l->setFont(programFont(11.25, true));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Two lines tall: a caption wider than the label continues on the second line.
    l->setWordWrap(true);
    setTextColor(l, textColor);
    return l;
}

} // namespace

void Form1::createControls()
{
    cmd_change = button(this, "cmd_change", QStringLiteral("↓切替"), 7560, 480, 975, 375);
    cmd_auto = button(this, "cmd_auto", QStringLiteral("ｸﾘｯｸ面倒ね"), 2520, 720, 1215, 255);
    for (int i = 0; i < kBoxCount; ++i)
        ans[i] = box(this, QStringLiteral("ans_%1").arg(i), kPrizeBoxLeftTwips, kFirstBoxTopTwips + kRowStepTwips * i,
                     kPrizeBoxWidthTwips, kBoxHeightTwips);
    for (int i = 0; i < kBoxCount; ++i)
        man[i] = box(this, QStringLiteral("man_%1").arg(i), kNameBoxLeftTwips, kFirstBoxTopTwips + kRowStepTwips * i,
                     kNameBoxWidthTwips, kBoxHeightTwips);
    cmd_up = stepButton(this, "cmd_up", QStringLiteral("＋"), 4560, 240);

    Frame1 = place(new QGroupBox(QStringLiteral("グループ選択"), this), "Frame1", 120, 0, 2295, 855);
    cmd_clr = button(Frame1, "cmd_clr", QStringLiteral("↓名前全部消"), 120, 580, 1335, 255);
    txt_mem = place(new QLineEdit(Frame1), "txt_mem", 120, 240, 1575, 285);
    txt_mem->setValidator(new StoredTextValidator(txt_mem));
    showWholeTextAsToolTip(txt_mem);
    txt_mem->setFont(programFont(11.25));
    setTextColor(txt_mem, 0x008000);
    cmd_up3 = stepButton(Frame1, "cmd_up3", QStringLiteral("＋"), 1800, 240);
    cmd_dn3 = stepButton(Frame1, "cmd_dn3", QStringLiteral("－"), 1800, 480);

    cmd_test = button(this, "cmd_test", QStringLiteral("test"), 6360, 1440, 615, 375);
    setBackColor(cmd_test, 0xE0E0E0);
    // A button kept for its place in the keyboard order; it is never shown.
    cmd_test->hide();
    cmd_mode = button(this, "cmd_mode", QStringLiteral("あたりモード"), 2520, 240, 1335, 375);
    setBackColor(cmd_mode, 0xFFC0FF);
    cmd_up2 = stepButton(this, "cmd_up2", QStringLiteral("＋"), 5880, 240);
    cmd_up2->hide();
    cmd_dn2 = stepButton(this, "cmd_dn2", QStringLiteral("－"), 5880, 480);
    cmd_dn2->hide();
    cmd_down = stepButton(this, "cmd_down", QStringLiteral("－"), 4560, 480);
    cmd_standby = button(this, "cmd_standby", QStringLiteral("準備完了"), 6480, 240, 975, 375);
    cmd_make = button(this, "cmd_make", QStringLiteral("作成"), 6120, 960, 855, 375);
    cmd_make->hide();

    tmr_1 = new QTimer(this);
    tmr_1->setObjectName(QStringLiteral("tmr_1"));
    // The automatic run keeps a steady beat.
    tmr_1->setTimerType(Qt::PreciseTimer);

    cmd_print = button(this, "cmd_print", QStringLiteral("印刷"), 8640, 240, 855, 375);
    cmd_print->setEnabled(false);
    lbl_atari = label(this, "lbl_atari", QStringLiteral("あたり"), 5040, 240, 795, 480, 0x0000FF);
    lbl_atari->hide();
    lbl_1 = label(this, "lbl_1", QStringLiteral("参加"), 3840, 240, 675, 480, 0xFF0000);
    // Below the counts and left of the time stamp, above the ladder's first line: in view of the
    // room and on the printout, never over the ladder.
    lbl_code = place(new QLabel(this), "lbl_code", 3840, 720, 3240, 240);
    lbl_code->setFont(programFont(9, true));
    lbl_code->setAccessibleName(kCodeCaption.trimmed());
    lbl_code->hide();
    // Spoken, not seen: a label of one pixel in the window's corner.
    lbl_status = new QLabel(this);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    lbl_status->setGeometry(0, 0, 1, 1);
    lbl_status->setAccessibleName(kStatusLineName);

    describeControlsForScreenReaders(*this);
    letEnterPressButtons(*this);
    for (QWidget *control : findChildren<QWidget *>()) {
        if (control->property(kTwipsRect).isValid())
            control->setProperty(kPointSize, control->font().pointSizeF());
    }
}

// The window's own controls move with the view's offset; those inside the frame move with it.
void Form1::placeControls(const View &shown)
{
    for (QWidget *control : findChildren<QWidget *>()) {
        const QVariant twips = control->property(kTwipsRect);
        if (!twips.isValid())
            continue;
        control->setGeometry(shown.rect(twips.toRect(), control->parentWidget() == this));
        QFont font = control->font();
        font.setPointSizeF(control->property(kPointSize).toDouble() * shown.scale);
        control->setFont(font);
    }
}

// Keyboard order: group controls, mode and counts, the names, the prizes, then the buttons.
void Form1::setTabOrder()
{
    QList<QWidget *> order{cmd_clr, txt_mem, cmd_up3, cmd_dn3, cmd_mode, cmd_up, cmd_down, cmd_up2, cmd_dn2};
    for (QLineEdit *edit : man)
        order << edit;
    for (QLineEdit *edit : ans)
        order << edit;
    order << cmd_standby << cmd_print << cmd_make << cmd_auto << cmd_test << cmd_change;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
