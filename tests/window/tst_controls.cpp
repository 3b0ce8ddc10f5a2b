// The window's controls as a first run (no settings file) shows them.
#include "support/window.h"

#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QMessageBox>

#include <optional>

namespace {

enum Kind { Button, Box, Label, Frame };
constexpr int Unspecified = -1;

struct Control
{
    QByteArray name;
    Kind kind;
    bool inFrame;
    QString caption;
    int left, top, width, height;   // twips
    bool hidden;
    bool enabled;
    int bold;                       // 1, 0 or Unspecified
    double pointSize;               // 0 when unspecified
    qint64 textColor;               // 0xBBGGRR or Unspecified
    qint64 backColor;               // 0xBBGGRR or Unspecified
};

// Names, captions, places and states, control by control: lottery mode, two participants.
QList<Control> controlTable()
{
    const auto step = [](const char *name, bool inFrame, const char *caption, int left, int top,
                         bool hidden) {
        return Control{name, Button, inFrame, QString::fromUtf8(caption), left, top, 375, 255, hidden,
                       true, 1, 9, Unspecified, Unspecified};
    };
    const auto plain = [](const char *name, bool inFrame, const char *caption, int left, int top,
                          int width, int height, bool hidden, bool enabled) {
        return Control{name, Button, inFrame, QString::fromUtf8(caption), left, top, width, height,
                       hidden, enabled, Unspecified, 0, Unspecified, Unspecified};
    };
    QList<Control> table{
        plain("cmd_change", false, "↓切替", 7560, 480, 975, 375, false, true),
        plain("cmd_auto", false, "ｸﾘｯｸ面倒ね", 2520, 720, 1215, 255, true, true),
        step("cmd_up", false, "＋", 4560, 240, false),
        {"Frame1", Frame, false, QStringLiteral("グループ選択"), 120, 0, 2295, 855, false, true,
         Unspecified, 0, Unspecified, Unspecified},
        plain("cmd_clr", true, "↓名前全部消", 120, 580, 1335, 255, false, true),
        {"txt_mem", Box, true, QString(), 120, 240, 1575, 285, false, true, 0, 11.25, 0x008000,
         Unspecified},
        step("cmd_up3", true, "＋", 1800, 240, false),
        step("cmd_dn3", true, "－", 1800, 480, false),
        {"cmd_test", Button, false, QStringLiteral("test"), 6360, 1440, 615, 375, true, true,
         Unspecified, 0, Unspecified, 0xE0E0E0},
        {"cmd_mode", Button, false, QStringLiteral("くじ引きモード"), 2520, 240, 1335, 375, false, true,
         Unspecified, 0, Unspecified, 0xFFFFC0},
        step("cmd_up2", false, "＋", 5880, 240, true),
        step("cmd_dn2", false, "－", 5880, 480, true),
        step("cmd_down", false, "－", 4560, 480, false),
        // Red once start-up has made the first ladder.
        {"cmd_standby", Button, false, QStringLiteral("準備完了"), 6480, 240, 975, 375, false, true,
         Unspecified, 0, Unspecified, 0x0000FF},
        plain("cmd_make", false, "作成", 6120, 960, 855, 375, true, true),
        plain("cmd_print", false, "印刷", 8640, 240, 855, 375, false, false),
        {"lbl_atari", Label, false, QStringLiteral("あたり1本"), 5040, 240, 795, 480, true, true, 1, 11.25,
         0x0000FF, Unspecified},
        {"lbl_1", Label, false, QStringLiteral("参加\r\n2人"), 3840, 240, 675, 480, false, true, 1, 11.25,
         0xFF0000, Unspecified},
    };
    for (int i = 0; i < 37; ++i) {
        table.append({"ans_" + QByteArray::number(i), Box, false, QString(), 7080, 960 + 360 * i, 2415, 270,
                      i >= 2, true, Unspecified, 0, Unspecified, Unspecified});
        table.append({"man_" + QByteArray::number(i), Box, false, QString(), 120, 960 + 360 * i, 1215, 270,
                      i >= 2, true, Unspecified, 0, Unspecified, Unspecified});
    }
    return table;
}

QString captionOf(const QWidget *widget)
{
    if (auto *b = qobject_cast<const QPushButton *>(widget))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(widget))
        return l->text();
    if (auto *e = qobject_cast<const QLineEdit *>(widget))
        return e->text();
    if (auto *g = qobject_cast<const QGroupBox *>(widget))
        return g->title();
    return QStringLiteral("<unknown kind>");
}

bool isKind(const QWidget *widget, Kind kind)
{
    switch (kind) {
    case Button: return qobject_cast<const QPushButton *>(widget);
    case Box: return qobject_cast<const QLineEdit *>(widget);
    case Label: return qobject_cast<const QLabel *>(widget);
    case Frame: return qobject_cast<const QGroupBox *>(widget);
    }
    return false;
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void everyControlIsListed();
    void window();
    void tabOrder();
    void typingLimit_data();
    void typingLimit();
    void timerStopped();
    void colouredButtonShowsItsColour();
    void buttonFaceGivesBackThePlainLook();
    void messagesGoThroughOneBox();
};

void TestControls::controls_data()
{
    QTest::addColumn<int>("index");
    const QList<Control> table = controlTable();
    for (int i = 0; i < table.size(); ++i)
        QTest::newRow(table[i].name.constData()) << i;
}

void TestControls::controls()
{
    QFETCH(int, index);
    const Control expected = controlTable().at(index);
    Window w;
    Form1 &form = w.start();

    QWidget *widget = w.control(QLatin1String(expected.name));
    QVERIFY(isKind(widget, expected.kind));
    QCOMPARE(widget->parentWidget(), expected.inFrame ? w.control(QStringLiteral("Frame1")) : &form);
    QCOMPARE(captionOf(widget), expected.caption);
    QCOMPARE(widget->geometry(), QRect(twipsToPixels(expected.left), twipsToPixels(expected.top),
                                       twipsToPixels(expected.width), twipsToPixels(expected.height)));
    QCOMPARE(widget->isHidden(), expected.hidden);
    QCOMPARE(widget->isVisibleTo(&form), !expected.hidden);
    QCOMPARE(widget->isEnabled(), expected.enabled);
    if (expected.bold != Unspecified)
        QCOMPARE(widget->font().bold(), expected.bold == 1);
    if (expected.pointSize != 0)
        QCOMPARE(widget->font().pointSizeF(), expected.pointSize);
    if (expected.textColor != Unspecified) {
        const QPalette::ColorRole role = expected.kind == Box ? QPalette::Text : QPalette::WindowText;
        QCOMPARE(widget->palette().color(role), colorFromBgr(uint32_t(expected.textColor)));
    }
    if (expected.backColor != Unspecified)
        QCOMPARE(widget->palette().color(QPalette::Button), colorFromBgr(uint32_t(expected.backColor)));
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        QVERIFY(!edit->isReadOnly());
}

// The table covers every widget the window has, so nothing extra sits on it.
void TestControls::everyControlIsListed()
{
    Window w;
    Form1 &form = w.start();
    // Besides them only the menu of the finished draw, the status line a screen reader hears, and
    // the commitment's code, shown from standby on.
    QStringList listed{QStringLiteral("windowMenu"), QStringLiteral("lbl_status"), QStringLiteral("lbl_code")};
    for (const Control &control : controlTable())
        listed << QString::fromLatin1(control.name);
    QStringList present;
    for (QWidget *child : form.findChildren<QWidget *>()) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            present << child->objectName();
    }
    listed.sort();
    present.sort();
    QCOMPARE(present, listed);
}

void TestControls::window()
{
    Window w;
    const Form1 &form = w.start();
    QCOMPARE(form.windowTitle(), QStringLiteral("◆Vornikel◆あみだくじ２"));
    QCOMPARE(form.width(), twipsToPixels(9585));
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
}

// Labels and the frame take no keyboard focus; the other controls follow in the window's order.
void TestControls::tabOrder()
{
    Window w;
    w.start();
    QStringList expected{QStringLiteral("cmd_clr"), QStringLiteral("txt_mem"), QStringLiteral("cmd_up3"),
                         QStringLiteral("cmd_dn3"), QStringLiteral("cmd_mode"), QStringLiteral("cmd_up"),
                         QStringLiteral("cmd_down"), QStringLiteral("cmd_up2"), QStringLiteral("cmd_dn2")};
    for (int i = 0; i < 37; ++i)
        expected << QStringLiteral("man_%1").arg(i);
    for (int i = 0; i < 37; ++i)
        expected << QStringLiteral("ans_%1").arg(i);
    expected << QStringLiteral("cmd_standby") << QStringLiteral("cmd_print") << QStringLiteral("cmd_make")
             << QStringLiteral("cmd_auto") << QStringLiteral("cmd_test") << QStringLiteral("cmd_change");

    QStringList chain;
    QWidget *widget = w.button("cmd_clr");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != w.button("cmd_clr") && chain.size() <= expected.size());
    QCOMPARE(chain, expected);
    QCOMPARE(w.label("lbl_1")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w.label("lbl_atari")->focusPolicy(), Qt::NoFocus);
}

void TestControls::typingLimit_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("first name box") << QStringLiteral("man_0");
    QTest::newRow("last name box") << QStringLiteral("man_36");
    QTest::newRow("first prize box") << QStringLiteral("ans_0");
    QTest::newRow("last prize box") << QStringLiteral("ans_36");
}

void TestControls::typingLimit()
{
    QFETCH(QString, name);
    Window w;
    w.start();
    auto *box = w.control<QLineEdit>(name);
    QCOMPARE(box->maxLength(), 12);
    QTest::keyClicks(box, QStringLiteral("abcdefghijklmnop"));
    QCOMPARE(box->text(), QStringLiteral("abcdefghijkl"));
    // Japanese arrives through the input method; the limit counts characters, not bytes.
    box->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("あいうえおかきくけこさしすせそ"));
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("あいうえおかきくけこさし"));
}

void TestControls::timerStopped()
{
    Window w;
    w.start();
    QCOMPARE(w.timer()->interval(), 0);
    QVERIFY(!w.timer()->isActive());
}

// The colour that most of a control's pixels have.
static QColor commonestColour(QWidget *control)
{
    const QImage picture = control->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb commonest = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(commonest))
            commonest = it.key();
    return QColor(commonest);
}

// The colour inside a button's left edge, clear of its caption.
static QColor faceColour(QWidget *button)
{
    const QImage picture = button->grab().toImage();
    return picture.pixelColor(4, picture.height() / 2);
}

// A button given the system's button-face colour looks like any plain button again: standby's
// button once it is done, and (enabled) a button on a window of its own.
void TestControls::buttonFaceGivesBackThePlainLook()
{
    Window w;
    QVERIFY(w.prepare(kLotteryMode, 2));
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QVERIFY(w.standby());
    QCOMPARE(faceColour(w.button("cmd_standby")), faceColour(w.button("cmd_print")));

    QWidget window;
    QPushButton plain(&window), coloured(&window);
    // Clear of the pointer in the corner: a button under it has a lighter face.
    window.resize(200, 200);
    plain.move(50, 50);
    coloured.move(50, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setBackColor(&coloured, 0x0000FF);
    setBackColor(&coloured, kSystemButtonFace);
    QCOMPARE(faceColour(&coloured), faceColour(&plain));
}

// The style paints a coloured button mostly in its colour (allowing for shading).
void TestControls::colouredButtonShowsItsColour()
{
    Window w;
    w.start();
    const QList<QPair<QPushButton *, uint32_t>> buttons{{w.button("cmd_mode"), 0xFFFFC0},
                                                       {w.button("cmd_standby"), 0x0000FF}};
    for (const auto &[button, color] : buttons) {
        const QColor seen = commonestColour(button);
        const QColor expected = colorFromBgr(color);
        QVERIFY2(qAbs(seen.red() - expected.red()) <= 16 && qAbs(seen.green() - expected.green()) <= 16
                     && qAbs(seen.blue() - expected.blue()) <= 16,
                 qPrintable(button->objectName() + QLatin1Char(' ') + seen.name()));
    }
}

// Every message: modal, one OK button, no icon, title "確認"; the window hands it to its messenger.
void TestControls::messagesGoThroughOneBox()
{
    Window w;
    Form1 &form = w.start();
    const QString text = QStringLiteral("一行目") + QChar(0x0D) + QStringLiteral("二行目");
    // The box the program shows, read while it is open and then closed, so that a failing check
    // never leaves it waiting.
    struct Seen
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Information;
        QMessageBox::StandardButtons buttons;
        qsizetype buttonCount = 0;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget *parent = nullptr;
    };
    std::optional<Seen> seen;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = Seen{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    box->buttons().size(), box->windowModality(), box->parentWidget()};
        box->done(QMessageBox::Ok);
    });
    MessageBoxMessenger().show(&form, text);
    QVERIFY(seen);
    QCOMPARE(seen->title, QStringLiteral("確認"));
    QCOMPARE(seen->text, text);
    QCOMPARE(seen->icon, QMessageBox::NoIcon);
    QCOMPARE(seen->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen->buttonCount, 1);
    QCOMPARE(seen->modality, Qt::ApplicationModal);
    QCOMPARE(seen->parent, &form);

    QVERIFY(!w.standby());
    QCOMPARE(w.messages(), QStringList{QStringLiteral("名前を全部に入れて下さい")});
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
