// Start-up as the window shows it: the group's texts in the boxes, the counts, the mode and its
// controls, the window position, the first ladder, and a settings file left as it was.
#include "support/full_file.h"
#include "settings/layout.h"
#include "support/window.h"

using namespace settings;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void shows_data();
    void shows();
    void firstLadderIgnoresTheDraws();
};

// Rows: the file (none when empty), then the group whose texts show, the counts, the mode and
// the window's top-left corner in pixels.
void TestStartup::shows_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("participants");
    QTest::addColumn<int>("winners");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("position");

    const Lines full = fullFile();
    QTest::newRow("first run") << Lines() << 1 << 2 << 1 << kLotteryMode << QPoint(0, 0);
    QTest::newRow("full file") << full << 1 << 5 << 2 << kLotteryMode << QPoint(0, 0);
    QTest::newRow("group 7 from its slot") << with(fullFile(37, 3), {{kGroupLine, "6"}}) << 7 << 37 << 3
                                           << kLotteryMode << QPoint(0, 0);
    QTest::newRow("winner mode") << with(full, {{kModeLine, "-1"}}) << 1 << 5 << 2 << kWinnerMode << QPoint(0, 0);
    QTest::newRow("number mode") << with(full, {{kModeLine, "1"}}) << 1 << 5 << 2 << kNumberMode << QPoint(0, 0);
    QTest::newRow("participants repaired") << with(full, {{kGroupLine, "1"}, {2, "x"}, {15, "3"}}) << 2 << 2 << 3
                                           << kLotteryMode << QPoint(0, 0);
    QTest::newRow("stored position") << with(full, {{kWindowLeftLine, "1500"}, {kWindowTopLine, "3000"}})
                                     << 1 << 5 << 2 << kLotteryMode << QPoint(100, 200);
    QTest::newRow("negative top") << with(full, {{kWindowLeftLine, "1500"}, {kWindowTopLine, "-60"}})
                                  << 1 << 5 << 2 << kLotteryMode << QPoint(100, 0);
    QTest::newRow("beyond the screen") << with(full, {{kWindowLeftLine, "150000"}, {kWindowTopLine, "0.5"}})
                                       << 1 << 5 << 2 << kLotteryMode << QPoint(10000, 0);
    QTest::newRow("left too large for single precision")
        << with(full, {{kWindowLeftLine, "1e39"}, {kWindowTopLine, "15"}}) << 1 << 5 << 2 << kLotteryMode << QPoint(0, 1);
}

void TestStartup::shows()
{
    QFETCH(Lines, lines);
    QFETCH(int, group);
    QFETCH(int, participants);
    QFETCH(int, winners);
    QFETCH(int, mode);
    QFETCH(QPoint, position);
    Window w;
    if (!lines.isEmpty())
        QVERIFY(w.writeLines(lines));
    const QByteArray before = w.written();
    w.start();

    QCOMPARE(w.memo()->text(), lines.value(memoLine(group)));
    for (int i = 0; i < kBoxCount; ++i) {
        QCOMPARE(w.nameBox(i)->text(), lines.value(nameLine(group, i)));
        QCOMPARE(w.shown(w.nameBox(i)), i < participants);
        // Prize boxes only in lottery mode, and only in the participants' rows.
        QCOMPARE(w.shown(w.prizeBox(i)), mode == kLotteryMode && i < participants);
    }
    QCOMPARE(w.label("lbl_1")->text(), QStringLiteral("参加\r\n%1人").arg(participants));
    QCOMPARE(w.label("lbl_atari")->text(), QStringLiteral("あたり%1本").arg(winners));
    QCOMPARE(w.mode(), mode);
    QCOMPARE(w.shown(w.label("lbl_atari")), mode == kWinnerMode);
    QCOMPARE(w.shown(w.button("cmd_change")), mode == kLotteryMode);
    QVERIFY(!w.shown(w.button("cmd_auto")));
    QVERIFY(!w.shown(w.button("cmd_test")));
    QCOMPARE(w.form->pos(), position);
    // Start-up reads the file but never writes it.
    QCOMPARE(w.fileExists(), !lines.isEmpty());
    QCOMPARE(w.written(), before);
}

// The first ladder is drawn before the first mode change sets a density, so every allowed row has
// a rung whatever the draws; the next ladder, with the mode's density, differs.
void TestStartup::firstLadderIgnoresTheDraws()
{
    const int height = 13500;
    QImage first;
    for (unsigned seed : {1u, 2u}) {
        Window w(seed);
        QVERIFY(w.writeLines({{participantCountLine(1), "37"}, {winnerCountLine(1), "1"}}));
        w.start();
        const QImage ladder = w.ladderPicture(height);
        if (first.isNull())
            first = ladder;
        QCOMPARE(ladder, first);
        w.button("cmd_make")->click();
        QVERIFY(w.ladderPicture(height) != first);
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
