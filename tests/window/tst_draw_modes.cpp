// The mode button: how each mode arranges the window, and the prizes it shows again.
#include "support/window.h"

class TestDrawModes : public QObject
{
    Q_OBJECT

private slots:
    // Row k: a window opened in winner mode with five participants, then k clicks; prizes are
    // typed into the five rows as soon as lottery mode shows them.
    void cycle_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("prizesShown");
        QTest::addColumn<bool>("winnerControls");
        QTest::addColumn<bool>("change");
        const QColor magenta(0xFF, 0xC0, 0xFF), cyan(0xC0, 0xFF, 0xFF), yellow(0xFF, 0xFF, 0xC0);
        QTest::newRow("winner") << 0 << kWinnerMode << "あたりモード" << magenta << 0 << true << false;
        QTest::newRow("lottery") << 1 << kLotteryMode << "くじ引きモード" << cyan << 5 << false << true;
        QTest::newRow("number") << 2 << kNumberMode << "番号モード" << yellow << 0 << false << false;
        QTest::newRow("winner again") << 3 << kWinnerMode << "あたりモード" << magenta << 0 << true << false;
        QTest::newRow("lottery again") << 4 << kLotteryMode << "くじ引きモード" << cyan << 5 << false << true;
    }

    void cycle()
    {
        QFETCH(int, clicks);
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(QColor, color);
        QFETCH(int, prizesShown);
        QFETCH(bool, winnerControls);
        QFETCH(bool, change);
        Window w;
        QVERIFY(w.writeLines({{1, QStringLiteral("5")}, {12, QStringLiteral("-1")}}));
        w.start();
        QCOMPARE(w.mode(), kWinnerMode);
        const long long draws = w.ts.random->draws;
        for (int i = 0; i < clicks; ++i) {
            w.button("cmd_mode")->click();
            if (i == 0) {
                for (int row = 0; row < 5; ++row)
                    w.prizeBox(row)->setText(QStringLiteral("賞品%1").arg(row));
            }
        }

        // A click draws the rung factor and nothing else: no new ladder.
        QCOMPARE(w.ts.random->draws - draws, clicks);
        QCOMPARE(w.mode(), mode);
        QCOMPARE(w.button("cmd_mode")->text(), caption);
        QCOMPARE(w.button("cmd_mode")->palette().color(QPalette::Button), color);
        for (int row = 0; row < kBoxCount; ++row) {
            QLineEdit *box = w.prizeBox(row);
            QCOMPARE(w.shown(box), row < prizesShown);
            QCOMPARE(box->isReadOnly(), mode != kLotteryMode);
            QCOMPARE(box->text(), row < prizesShown ? QStringLiteral("賞品%1").arg(row) : QString());
            if (row < prizesShown)
                QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::black));
        }
        QCOMPARE(w.shown(w.label("lbl_atari")), winnerControls);
        QCOMPARE(w.shown(w.button("cmd_up2")), winnerControls);
        QCOMPARE(w.shown(w.button("cmd_dn2")), winnerControls);
        QCOMPARE(w.shown(w.button("cmd_change")), change);
    }
};

QTEST_MAIN(TestDrawModes)
#include "tst_draw_modes.moc"
