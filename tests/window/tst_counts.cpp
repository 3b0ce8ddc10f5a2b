// The participant and winner count buttons, clicked through the window.
#include "support/window.h"

class TestCounts : public QObject
{
    Q_OBJECT

private slots:
    void countButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("atari");
        QTest::addColumn<int>("manAfter");
        QTest::addColumn<int>("atariAfter");
        QTest::addColumn<QString>("atariCaption"); // as start-up showed it when untouched
        QTest::addColumn<bool>("laidOut");
        QTest::addColumn<bool>("newLadder");
        QTest::addColumn<int>("messages");

        const QString untouched;
        QTest::newRow("+ from 2") << "cmd_up" << 0 << 2 << 1 << 3 << 1 << untouched << true << true << 0;
        QTest::newRow("+ at 37") << "cmd_up" << 0 << 37 << 1 << 37 << 1 << untouched << false << false << 0;
        QTest::newRow("+ keeps winners") << "cmd_up" << 0 << 5 << 4 << 6 << 4 << untouched << true << true << 0;
        QTest::newRow("- at 2") << "cmd_down" << 0 << 2 << 1 << 2 << 1 << untouched << false << false << 0;
        QTest::newRow("- 5/4 lowers winners") << "cmd_down" << 0 << 5 << 4 << 4 << 3 << QStringLiteral("あたり3本") << true << true << 0;
        QTest::newRow("- 5/2 keeps winners") << "cmd_down" << 0 << 5 << 2 << 4 << 2 << untouched << true << true << 0;
        QTest::newRow("- 3/2 smallest pair") << "cmd_down" << 0 << 3 << 2 << 2 << 1 << QStringLiteral("あたり1本") << true << true << 0;
        QTest::newRow("- 5/4 in number mode") << "cmd_down" << 2 << 5 << 4 << 4 << 3 << QStringLiteral("あたり3本") << true << true << 0;
        QTest::newRow("- 4/6 one step, make refuses") << "cmd_down" << 0 << 4 << 6 << 3 << 5 << QStringLiteral("あたり5本") << true << false << 1;
        QTest::newRow("- 4/6 in lottery mode") << "cmd_down" << 1 << 4 << 6 << 3 << 5 << QStringLiteral("あたり5本") << true << true << 0;
        QTest::newRow("winner + 5/2") << "cmd_up2" << 0 << 5 << 2 << 5 << 3 << QStringLiteral("あたり3本") << false << false << 0;
        QTest::newRow("winner + at man-1") << "cmd_up2" << 0 << 5 << 4 << 5 << 4 << untouched << false << false << 0;
        QTest::newRow("winner + with 2") << "cmd_up2" << 0 << 2 << 1 << 2 << 1 << untouched << false << false << 0;
        QTest::newRow("winner + from 0") << "cmd_up2" << 0 << 4 << 0 << 4 << 1 << QStringLiteral("あたり1本") << false << false << 0;
        QTest::newRow("winner + 4/6") << "cmd_up2" << 0 << 4 << 6 << 4 << 6 << untouched << false << false << 0;
        QTest::newRow("winner + at 32767") << "cmd_up2" << 0 << 4 << 32767 << 4 << 32767 << untouched << false << false << 0;
        QTest::newRow("winner - 5/3") << "cmd_dn2" << 0 << 5 << 3 << 5 << 2 << QStringLiteral("あたり2本") << false << false << 0;
        QTest::newRow("winner - at 1") << "cmd_dn2" << 0 << 5 << 1 << 5 << 1 << untouched << false << false << 0;
        QTest::newRow("winner - from 0") << "cmd_dn2" << 0 << 4 << 0 << 4 << 0 << untouched << false << false << 0;
        QTest::newRow("winner - 4/6") << "cmd_dn2" << 0 << 4 << 6 << 4 << 5 << QStringLiteral("あたり5本") << false << false << 0;
    }

    void countButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, mode);
        QFETCH(int, man);
        QFETCH(int, atari);
        QFETCH(int, manAfter);
        QFETCH(int, atariAfter);
        QFETCH(QString, atariCaption);
        QFETCH(bool, laidOut);
        QFETCH(bool, newLadder);
        QFETCH(int, messages);
        // The counts and the mode come from the group's lines, as a window opens with them.
        Window w;
        QVERIFY(w.writeLines(counts(man, atari, mode)));
        w.start();
        QCOMPARE(w.participants(), man);
        const QString startCaption = w.label("lbl_atari")->text();
        const long long drawsBefore = w.ts.random->draws;
        const QImage drawing = w.ladderPicture();
        w.ts.messenger->shown.clear();

        w.button(qPrintable(button))->click();

        QCOMPARE(w.participants(), manAfter);
        QCOMPARE(w.label("lbl_1")->text(), QStringLiteral("参加\r\n%1人").arg(manAfter));
        QCOMPARE(w.label("lbl_atari")->text(), atariCaption.isNull() ? startCaption : atariCaption);
        QCOMPARE(w.winners(), atariAfter);
        QCOMPARE(w.ts.random->draws > drawsBefore, newLadder);
        // A refused ladder at a new count is the one kept, drawn again for the lines left.
        QCOMPARE(w.ladderPicture() != drawing, newLadder || manAfter != man);
        QCOMPARE(w.messages().size(), messages);
        if (messages)
            QCOMPARE(w.messages().first(),
                     QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。"));
        Q_UNUSED(laidOut);
    }
};

QTEST_MAIN(TestCounts)
#include "tst_counts.moc"
