// The seven groups as the window shows them: the boxes through ＋/－ round trips, the file each
// change writes, and a change whose save fails.
#include "settings/layout.h"
#include "support/user_input.h"
#include "support/window.h"

using namespace settings;

class TestGroups : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsHiddenNames();
    void sevenStepsComeBackAndWriteSevenTimes();
    void fileHoldsTheGroupLeft();
    void failedSaveKeepsTheBoxes();
    void longNamesStayWhole_data();
    void longNamesStayWhole();
};

void TestGroups::roundTripKeepsHiddenNames()
{
    Window w;
    w.start();
    QVERIFY(w.toMode(kWinnerMode));
    QVERIFY(w.toCount(8));
    for (int i = 0; i < 8; ++i)
        typeText(w.nameBox(i), QStringLiteral("名前%1").arg(i));
    typeText(w.memo(), QStringLiteral("木曜会"));
    QVERIFY(w.toCount(5));
    QVERIFY(w.toWinners(3));

    // Group 2 was never entered: the first-run counts and empty boxes.
    w.button("cmd_up3")->click();
    QCOMPARE(w.participants(), 2);
    QCOMPARE(w.label("lbl_1")->text(), QStringLiteral("参加\r\n2人"));
    QCOMPARE(w.winners(), 1);
    QCOMPARE(w.memo()->text(), QString());
    for (int i = 0; i < kBoxCount; ++i)
        QCOMPARE(w.nameBox(i)->text(), QString());

    w.button("cmd_dn3")->click();
    QCOMPARE(w.participants(), 5);
    QCOMPARE(w.label("lbl_atari")->text(), QStringLiteral("あたり3本"));
    QCOMPARE(w.memo()->text(), QStringLiteral("木曜会"));
    for (int i = 0; i < 8; ++i)
        QCOMPARE(w.nameBox(i)->text(), QStringLiteral("名前%1").arg(i));
    QVERIFY(w.toCount(8));
    QCOMPARE(w.nameBox(7)->text(), QStringLiteral("名前7"));
}

void TestGroups::sevenStepsComeBackAndWriteSevenTimes()
{
    Window w;
    w.start();
    typeText(w.nameBox(0), QStringLiteral("一番"));
    for (int step = 0; step < 7; ++step) {
        QVERIFY(!w.fileExists());
        w.button("cmd_up3")->click();
        QVERIFY2(w.fileExists(), "every group change writes the file");
        QCOMPARE(w.written().count("\r\n"), 326);
        QVERIFY(QFile::remove(w.path));
    }
    QCOMPARE(w.nameBox(0)->text(), QStringLiteral("一番"));
}

// The file carries the group left, and lines 9..12 as start-up read them.
void TestGroups::fileHoldsTheGroupLeft()
{
    Window w;
    QVERIFY(w.writeLines({{1, "2"}, {2, "3"}, {15, "1"}, {kWindowLeftLine, "45"}, {kWindowTopLine, "60"},
                          {kGroupLine, "1"}, {kModeLine, "1"}, {58, QStringLiteral("空き行")}}));
    w.start();
    QCOMPARE(w.participants(), 3);
    typeText(w.nameBox(2), QStringLiteral("山田〜太郎"));
    typeText(w.memo(), QStringLiteral("二組"));
    w.form->move(300, 400);
    w.button("cmd_up3")->click();

    const SetupLines lines = w.fileLines();
    QCOMPARE(lines[participantCountLine(2)], QStringLiteral("3"));
    QCOMPARE(lines[winnerCountLine(2)], QStringLiteral("1"));
    QCOMPARE(lines[memoLine(2)], QStringLiteral("二組"));
    QCOMPARE(lines[nameLine(2, 2)], QStringLiteral("山田～太郎"));
    QCOMPARE(lines[kWindowLeftLine], QStringLiteral("45"));
    QCOMPARE(lines[kWindowTopLine], QStringLiteral("60"));
    QCOMPARE(lines[kGroupLine], QStringLiteral("1"));
    QCOMPARE(lines[kModeLine], QStringLiteral("1"));
    QCOMPARE(lines[58], QStringLiteral("空き行"));
}

void TestGroups::failedSaveKeepsTheBoxes()
{
    // The settings file's folder is a file, so no save can succeed.
    Window w(1, 0, QStringLiteral("file/set_up.ini"));
    QVERIFY(writeBytes(w.ts.folder.filePath(QStringLiteral("file")), "x"));
    w.start();
    w.button("cmd_up")->click();
    typeText(w.nameBox(2), QStringLiteral("花子"));
    typeText(w.memo(), QStringLiteral("大事なメモ"));

    w.button("cmd_up3")->click();
    QCOMPARE(w.messages().size(), 1);
    QVERIFY(w.messages()[0].contains(QStringLiteral("保存できませんでした")));
    QVERIFY(w.messages()[0].contains(QStringLiteral("set_up.ini")));
    QCOMPARE(w.participants(), 3);
    QCOMPARE(w.nameBox(2)->text(), QStringLiteral("花子"));
    QCOMPARE(w.memo()->text(), QStringLiteral("大事なメモ"));
}

// Rows: group 1's and group 2's first name, from the file. A name longer than the typing limit
// is shown and stored whole whatever the box held before; typed text stays within the limit
// (or within the room a longer loaded name made).
void TestGroups::longNamesStayWhole_data()
{
    const QString twenty = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    const QString fifteen = QStringLiteral("アイウエオカキクケコサシスセソ");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("15 after 20") << twenty << fifteen;
    QTest::newRow("20 after 15") << fifteen << twenty;
    QTest::newRow("short after 20") << twenty << QStringLiteral("太郎");
}

void TestGroups::longNamesStayWhole()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    Window w;
    QVERIFY(w.writeLines({{nameLine(1, 0), first}, {nameLine(2, 0), second}}));
    w.start();
    QLineEdit *box = w.nameBox(0);
    QCOMPARE(box->text(), first);

    w.button("cmd_up3")->click();
    QCOMPARE(box->text(), second);
    w.button("cmd_dn3")->click();
    QCOMPARE(box->text(), first);
    w.button("cmd_up3")->click();
    QCOMPARE(box->text(), second);
    const SetupLines lines = w.fileLines();
    QCOMPARE(lines[nameLine(1, 0)], first);
    QCOMPARE(lines[nameLine(2, 0)], second);

    const QString typed = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    box->clear();
    typeText(box, typed);
    QCOMPARE(box->text(), typed.left(qMax<qsizetype>(kBoxTypingLimit, second.size())));
}

QTEST_MAIN(TestGroups)
#include "tst_groups.moc"
