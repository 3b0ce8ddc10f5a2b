// A set_up.ini edited by hand with more winners than participants: the ladder kept at start-up
// is cut to the participants, so the lottery finishes; and what standby disables looks disabled.
#include "support/window.h"

namespace {

// Five participants and seven winners in every group, winner mode.
bool writeEditedFile(Window &w)
{
    Lines lines;
    for (int g = 1; g <= 7; ++g) {
        lines[settings::participantCountLine(g)] = QStringLiteral("5");
        lines[settings::winnerCountLine(g)] = QStringLiteral("7");
    }
    lines[settings::kModeLine] = QStringLiteral("-1");
    return w.writeLines(lines);
}

// The colour of a control's picture at its left edge, halfway down: its background.
QColor background(QWidget *control)
{
    return control->grab().toImage().pixelColor(3, control->height() / 2);
}

} // namespace

class TestKeptLadder : public QObject
{
    Q_OBJECT

private slots:
    // Rows: how many participants fewer ("－") before standby.
    void everyLotteryFinishes_data()
    {
        QTest::addColumn<int>("fewer");
        QTest::newRow("as the file holds them") << 0;
        QTest::newRow("one fewer") << 1;
        QTest::newRow("down to two") << 3;
    }

    void everyLotteryFinishes()
    {
        QFETCH(int, fewer);
        Window w;
        QVERIFY(writeEditedFile(w));
        w.start();
        for (int k = 0; k < fewer; ++k)
            w.button("cmd_down")->click();
        QCOMPARE(w.participants(), 5 - fewer);
        w.fillEntries();
        QVERIFY(w.standby());
        w.traceAll();
        QVERIFY(w.button("cmd_print")->isEnabled());
        int results = 0;
        for (int i = 0; i < kBoxCount; ++i)
            results += w.shown(w.prizeBox(i)) ? 1 : 0;
        QCOMPARE(results, w.participants());
    }

    // While standby's message about the winners is open, 準備完了 is already disabled and looks
    // it; the memo, disabled at standby, loses its colour.
    void disabledLooksDisabled()
    {
        Window w;
        QVERIFY(writeEditedFile(w));
        w.start();
        w.fillEntries();
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QPushButton *standby = w.button("cmd_standby");
        const QColor enabled = background(standby);
        QColor underMessage;
        bool disabledUnderMessage = false;
        w.ts.messenger->whileOpen = [&] {
            disabledUnderMessage = !standby->isEnabled();
            underMessage = background(standby);
        };
        const QColor memoText = w.memo()->palette().color(QPalette::Active, QPalette::Text);
        QVERIFY(w.standby());
        QCOMPARE(w.messages().size(), 1);
        QVERIFY(disabledUnderMessage);
        QVERIFY2(underMessage != enabled, qPrintable(underMessage.name()));
        QVERIFY(!w.memo()->isEnabled());
        QVERIFY(w.memo()->palette().color(QPalette::Disabled, QPalette::Text) != memoText);
    }
};

QTEST_MAIN(TestKeptLadder)
#include "tst_kept_ladder.moc"
