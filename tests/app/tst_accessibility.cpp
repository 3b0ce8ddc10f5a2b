// What assistive technology learns about the window, and running a lottery from the keyboard.
#include "app/form1.h"
#include "panel/entry_form.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(object);
    if (!interface)
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return interface;
}

QString spokenName(QObject *object)
{
    return accessible(object)->text(QAccessible::Name);
}

QAccessible::State stateOf(QObject *object)
{
    return accessible(object)->state();
}

// Every accessible object below the window, depth first.
void collect(QAccessibleInterface *parent, QList<QAccessibleInterface *> &found)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        found << child;
        collect(child, found);
    }
}

// Five named participants in winner mode with two winners, shown on screen.
struct Lottery : EntryForm
{
    Lottery() : EntryForm(5, 2, 0)
    {
        form.st.group_no = 1;
        form.cmd_auto->hide();
        form.man_set();
        form.atari_set();
        for (int i = 0; i < 5; ++i)
            form.man[i]->setText(QStringLiteral("名%1").arg(i));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("window not exposed");
    }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(target, key, modifiers);
    }
};

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void spokenNames_data();
    void spokenNames();
    void everyControlHasAName();
    void countCaptionsAreSpokenOnOneLine();
    void statesAfterStandby();
    void enterAndSpacePressAButton_data();
    void enterAndSpacePressAButton();
    void enterInSecondNameBoxStillTogglesTheAutoButton();
    void spaceTracesOnlyInALockedNameBox();
    void keyboardAloneRunsTheLottery();
};

void AccessibilityTest::spokenNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("first name box") << "man_0" << "名前1";
    QTest::newRow("last name box") << "man_36" << "名前37";
    QTest::newRow("first prize box") << "ans_0" << "景品1";
    QTest::newRow("last prize box") << "ans_36" << "景品37";
    QTest::newRow("memo") << "txt_mem" << "グループメモ";
    QTest::newRow("participants up") << "cmd_up" << "参加人数を増やす";
    QTest::newRow("participants down") << "cmd_down" << "参加人数を減らす";
    QTest::newRow("winners up") << "cmd_up2" << "あたりの数を増やす";
    QTest::newRow("winners down") << "cmd_dn2" << "あたりの数を減らす";
    QTest::newRow("group up") << "cmd_up3" << "グループを次へ";
    QTest::newRow("group down") << "cmd_dn3" << "グループを前へ";
    QTest::newRow("standby") << "cmd_standby" << "準備完了";
    QTest::newRow("mode") << "cmd_mode" << "あたりモード";
    QTest::newRow("clear names") << "cmd_clr" << "↓名前全部消";
    QTest::newRow("auto") << "cmd_auto" << "ｸﾘｯｸ面倒ね";
    QTest::newRow("print") << "cmd_print" << "印刷";
    QTest::newRow("frame") << "Frame1" << "グループ選択";
    QTest::newRow("winner label") << "lbl_atari" << "あたり";
    QTest::newRow("participant label") << "lbl_1" << "参加";
}

void AccessibilityTest::spokenNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    TestSeams ts;
    Form1 form(std::move(ts.seams));
    QWidget *widget = form.findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(spokenName(widget), name);
}

void AccessibilityTest::everyControlHasAName()
{
    Lottery lottery;
    QList<QAccessibleInterface *> all;
    collect(accessible(&lottery.form), all);
    QVERIFY(all.size() >= 2 * Form1::BoxCount + 18);
    QSet<QString> names;
    for (QAccessibleInterface *control : all) {
        const QString name = control->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->object()->objectName()));
        QVERIFY2(!name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')),
                 qPrintable(control->object()->objectName()));
        if (qobject_cast<QLineEdit *>(control->object()))
            names << name;
    }
    QCOMPARE(names.size(), 2 * Form1::BoxCount + 1);
}

void AccessibilityTest::countCaptionsAreSpokenOnOneLine()
{
    Lottery lottery;
    QVERIFY(lottery.form.lbl_1->text().contains(QStringLiteral("\r\n")));
    QCOMPARE(spokenName(lottery.form.lbl_1), QStringLiteral("参加 5人"));
    QCOMPARE(accessible(lottery.form.lbl_1)->role(), QAccessible::StaticText);
    lottery.form.cmd_up_Click();
    QCOMPARE(spokenName(lottery.form.lbl_1), QStringLiteral("参加 6人"));
    lottery.form.cmd_up2_Click();
    QCOMPARE(spokenName(lottery.form.lbl_atari), QStringLiteral("あたり3本"));
}

void AccessibilityTest::statesAfterStandby()
{
    Lottery lottery;
    Form1 &form = lottery.form;
    QVERIFY(!stateOf(form.cmd_mode).disabled);
    QVERIFY(stateOf(form.cmd_print).disabled);
    QVERIFY(stateOf(form.cmd_make).invisible);
    QVERIFY(stateOf(form.man[5]).invisible);
    QVERIFY(!stateOf(form.man[0]).readOnly);

    form.cmd_standby_Click();
    QCOMPARE(form.st.ready_flag, int16_t(1));
    for (QWidget *frozen : std::initializer_list<QWidget *>{form.cmd_mode, form.cmd_up, form.cmd_down, form.cmd_up2,
                                                            form.cmd_dn2, form.cmd_up3, form.cmd_dn3, form.cmd_clr,
                                                            form.cmd_standby, form.txt_mem})
        QVERIFY2(stateOf(frozen).disabled, qPrintable(frozen->objectName()));
    QVERIFY(stateOf(form.cmd_change).invisible);
    QVERIFY(stateOf(form.txt_mem).readOnly);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(stateOf(form.man[i]).readOnly);
        QVERIFY(!stateOf(form.man[i]).invisible);
        QVERIFY(stateOf(form.ans[i]).invisible);
    }

    form.man_Click(3);
    int shown = 0;
    for (int i = 0; i < 5; ++i) {
        if (!stateOf(form.ans[i]).invisible) {
            ++shown;
            QAccessibleTextInterface *text = accessible(form.ans[i])->textInterface();
            QVERIFY(text->text(0, text->characterCount()).endsWith(QStringLiteral(" ：名3")));
        }
    }
    QCOMPARE(shown, 1);
}

void AccessibilityTest::enterAndSpacePressAButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("participantsAfter");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << 6;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 6;
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << 6;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 5;
    QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 5;
}

void AccessibilityTest::enterAndSpacePressAButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, participantsAfter);
    Lottery lottery;
    lottery.press(lottery.form.cmd_up, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(lottery.form.st.man_count, int16_t(participantsAfter));
}

void AccessibilityTest::enterInSecondNameBoxStillTogglesTheAutoButton()
{
    Lottery lottery;
    QVERIFY(lottery.form.cmd_auto->isHidden());
    lottery.press(lottery.form.man[1], Qt::Key_Return);
    QVERIFY(!lottery.form.cmd_auto->isHidden());
    lottery.press(lottery.form.man[1], Qt::Key_Return);
    QVERIFY(lottery.form.cmd_auto->isHidden());
    lottery.press(lottery.form.man[2], Qt::Key_Return);
    QVERIFY(lottery.form.cmd_auto->isHidden());
}

void AccessibilityTest::spaceTracesOnlyInALockedNameBox()
{
    Lottery lottery;
    Form1 &form = lottery.form;
    form.man[2]->end(false);
    lottery.press(form.man[2], Qt::Key_Space);
    QCOMPARE(form.man[2]->text(), QStringLiteral("名2 "));
    form.man[2]->setText(QStringLiteral("名2"));

    form.cmd_standby_Click();
    lottery.press(form.man[2], Qt::Key_Space);
    QCOMPARE(form.man[2]->text(), QStringLiteral("名2"));
    QCOMPARE(form.st.ladder.at(3, 0), int16_t(1));
    QCOMPARE(form.st.ladder.at(2, 0), int16_t(0));
    int results = 0;
    for (QLineEdit *prize : form.ans)
        results += prize->text().endsWith(QStringLiteral(" ：名2")) ? 1 : 0;
    QCOMPARE(results, 1);
    // Enter still belongs to the second box's own key handling, not to tracing.
    lottery.press(form.man[1], Qt::Key_Return);
    QCOMPARE(form.st.ladder.at(2, 0), int16_t(0));
}

// Tab reaches every step: standby, each name, then printing, without a mouse.
void AccessibilityTest::keyboardAloneRunsTheLottery()
{
    Lottery lottery;
    Form1 &form = lottery.form;
    const auto tabTo = [&form](QWidget *target) {
        for (int presses = 0; presses < 100 && QApplication::focusWidget() != target; ++presses)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };
    form.activateWindow();
    form.cmd_clr->setFocus(Qt::OtherFocusReason);
    QVERIFY(tabTo(form.cmd_standby));
    QTest::keyClick(form.cmd_standby, Qt::Key_Return);
    QCOMPARE(form.st.ready_flag, int16_t(1));
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(tabTo(form.man[i]), qPrintable(QString::number(i)));
        QTest::keyClick(form.man[i], Qt::Key_Space);
    }
    QCOMPARE(form.st.all_traced, int16_t(1));
    QVERIFY(tabTo(form.cmd_print));
    QVERIFY(form.cmd_print->isEnabled());
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
