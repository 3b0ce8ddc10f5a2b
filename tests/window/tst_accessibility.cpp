// What assistive technology learns about the window, and running a lottery from the keyboard.
#include "support/window.h"

#include <QAccessible>
#include <QApplication>

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
struct FiveNamed : Window
{
    explicit FiveNamed(bool onScreen = true)
    {
        writeLines({{1, QStringLiteral("5")}, {14, QStringLiteral("2")}, {12, QStringLiteral("-1")}});
        start();
        for (int i = 0; i < 5; ++i)
            nameBox(i)->setText(QStringLiteral("名%1").arg(i));
        if (onScreen) {
            form->show();
            if (!QTest::qWaitForWindowExposed(form.get()))
                qFatal("window not exposed");
        }
    }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(target, key, modifiers);
    }

    // Prize boxes that show the result of the named participant.
    int resultsShownFor(const QString &name) const
    {
        int count = 0;
        for (int i = 0; i < kBoxCount; ++i)
            count += shown(prizeBox(i)) && prizeBox(i)->text().endsWith(QStringLiteral(" ：") + name) ? 1 : 0;
        return count;
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
    QTest::newRow("winner label") << "lbl_atari" << "あたり2本";
    QTest::newRow("participant label") << "lbl_1" << "参加 5人";
}

void AccessibilityTest::spokenNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    FiveNamed w(false);
    QCOMPARE(spokenName(w.control(control)), name);
}

void AccessibilityTest::everyControlHasAName()
{
    FiveNamed w;
    QList<QAccessibleInterface *> all;
    collect(accessible(w.form.get()), all);
    QVERIFY(all.size() >= 2 * kBoxCount + 18);
    QSet<QString> names;
    for (QAccessibleInterface *control : all) {
        const QString name = control->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->object()->objectName()));
        QVERIFY2(!name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')),
                 qPrintable(control->object()->objectName()));
        if (qobject_cast<QLineEdit *>(control->object()))
            names << name;
    }
    QCOMPARE(names.size(), 2 * kBoxCount + 1);
}

void AccessibilityTest::countCaptionsAreSpokenOnOneLine()
{
    FiveNamed w;
    QVERIFY(w.label("lbl_1")->text().contains(QStringLiteral("\r\n")));
    QCOMPARE(spokenName(w.label("lbl_1")), QStringLiteral("参加 5人"));
    QCOMPARE(accessible(w.label("lbl_1"))->role(), QAccessible::StaticText);
    w.button("cmd_up")->click();
    QCOMPARE(spokenName(w.label("lbl_1")), QStringLiteral("参加 6人"));
    w.button("cmd_up2")->click();
    QCOMPARE(spokenName(w.label("lbl_atari")), QStringLiteral("あたり3本"));
}

void AccessibilityTest::statesAfterStandby()
{
    FiveNamed w;
    QVERIFY(!stateOf(w.button("cmd_mode")).disabled);
    QVERIFY(stateOf(w.button("cmd_print")).disabled);
    QVERIFY(stateOf(w.button("cmd_make")).invisible);
    QVERIFY(stateOf(w.nameBox(5)).invisible);
    QVERIFY(!stateOf(w.nameBox(0)).readOnly);

    QVERIFY(w.standby());
    for (const char *frozen : {"cmd_mode", "cmd_up", "cmd_down", "cmd_up2", "cmd_dn2", "cmd_up3", "cmd_dn3", "cmd_clr",
                               "cmd_standby", "txt_mem"})
        QVERIFY2(stateOf(w.control(QLatin1String(frozen))).disabled, frozen);
    QVERIFY(stateOf(w.button("cmd_change")).invisible);
    QVERIFY(stateOf(w.memo()).readOnly);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(stateOf(w.nameBox(i)).readOnly);
        QVERIFY(!stateOf(w.nameBox(i)).invisible);
        QVERIFY(stateOf(w.prizeBox(i)).invisible);
    }

    w.clickName(3);
    int shown = 0;
    for (int i = 0; i < 5; ++i) {
        if (!stateOf(w.prizeBox(i)).invisible) {
            ++shown;
            QAccessibleTextInterface *text = accessible(w.prizeBox(i))->textInterface();
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
    FiveNamed w;
    w.press(w.button("cmd_up"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.participants(), participantsAfter);
}

void AccessibilityTest::enterInSecondNameBoxStillTogglesTheAutoButton()
{
    FiveNamed w;
    QVERIFY(w.button("cmd_auto")->isHidden());
    w.press(w.nameBox(1), Qt::Key_Return);
    QVERIFY(!w.button("cmd_auto")->isHidden());
    w.press(w.nameBox(1), Qt::Key_Return);
    QVERIFY(w.button("cmd_auto")->isHidden());
    w.press(w.nameBox(2), Qt::Key_Return);
    QVERIFY(w.button("cmd_auto")->isHidden());
}

void AccessibilityTest::spaceTracesOnlyInALockedNameBox()
{
    FiveNamed w;
    w.nameBox(2)->end(false);
    w.press(w.nameBox(2), Qt::Key_Space);
    QCOMPARE(w.nameBox(2)->text(), QStringLiteral("名2 "));
    QTest::keyClick(w.nameBox(2), Qt::Key_Backspace);

    QVERIFY(w.standby());
    w.press(w.nameBox(2), Qt::Key_Space);
    QCOMPARE(w.nameBox(2)->text(), QStringLiteral("名2"));
    QCOMPARE(w.resultsShownFor(QStringLiteral("名2")), 1);
    QCOMPARE(w.resultsShownFor(QStringLiteral("名1")), 0);
    // Enter still belongs to the second box's own key handling, not to tracing.
    w.press(w.nameBox(1), Qt::Key_Return);
    QCOMPARE(w.resultsShownFor(QStringLiteral("名1")), 0);
}

// Tab reaches every step: standby, each name, then printing, without a mouse.
void AccessibilityTest::keyboardAloneRunsTheLottery()
{
    FiveNamed w;
    Form1 *form = w.form.get();
    const auto tabTo = [form](QWidget *target) {
        for (int presses = 0; presses < 100 && QApplication::focusWidget() != target; ++presses)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form, Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };
    form->activateWindow();
    w.button("cmd_clr")->setFocus(Qt::OtherFocusReason);
    QVERIFY(tabTo(w.button("cmd_standby")));
    QTest::keyClick(w.button("cmd_standby"), Qt::Key_Return);
    QVERIFY(!w.button("cmd_standby")->isEnabled());
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(tabTo(w.nameBox(i)), qPrintable(QString::number(i)));
        QTest::keyClick(w.nameBox(i), Qt::Key_Space);
        QCOMPARE(w.resultsShownFor(QStringLiteral("名%1").arg(i)), 1);
    }
    QVERIFY(tabTo(w.button("cmd_print")));
    QVERIFY(w.button("cmd_print")->isEnabled());
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
