// The seven remembered groups: switching stores the boxes, saves the file and loads the next group.
#include "file_bytes.h"
#include "settings/layout.h"
#include "settings_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace settings;

class TestGroups : public QObject
{
    Q_OBJECT

private slots:
    void stepAndWrap_data();
    void stepAndWrap();
    void upThenDownRestoresTheGroup();
    void sevenStepsComeBackAndWriteSevenTimes();
    void neverEnteredGroupOpensAsFirstRun();
    void fileHoldsTheGroupLeft();
    void badCountsInTheGroupEntered_data();
    void badCountsInTheGroupEntered();
    void failedSaveKeepsTheGroup();
    void noGroupYetChangesNothing();
};

static void clickTimes(QPushButton *button, int times)
{
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(button, Qt::LeftButton);
}

void TestGroups::stepAndWrap_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("entered");
    QTest::newRow("1 up") << 1 << true << 2;
    QTest::newRow("7 up wraps to 1") << 7 << true << 1;
    QTest::newRow("1 down wraps to 7") << 1 << false << 7;
    QTest::newRow("4 down") << 4 << false << 3;
}

void TestGroups::stepAndWrap()
{
    QFETCH(int, start);
    QFETCH(bool, up);
    QFETCH(int, entered);
    SettingsForm f;
    f.writeFile({{kGroupLine, QString::number(start - 1)}, {1, QStringLiteral("2")}});
    Form1 &form = f.start();
    QCOMPARE(int(form.st.group_no), start);
    QTest::mouseClick(up ? form.cmd_up3 : form.cmd_dn3, Qt::LeftButton);
    QCOMPARE(int(form.st.group_no), entered);
    QCOMPARE(int(form.st.prev_group_no), start);
}

void TestGroups::upThenDownRestoresTheGroup()
{
    SettingsForm f;
    Form1 &form = f.start();
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(form.cmd_up, Qt::LeftButton);
    for (int i = 0; i < 8; ++i)
        form.man[i]->setText(QStringLiteral("名前%1").arg(i));
    form.txt_mem->setText(QStringLiteral("木曜会"));
    clickTimes(form.cmd_down, 3);
    QCOMPARE(form.st.man_count, int16_t(5));
    form.st.atari_count = 3;

    QTest::mouseClick(form.cmd_up3, Qt::LeftButton);
    QCOMPARE(form.st.man_count, int16_t(2));
    QCOMPARE(form.man[6]->text(), QString());
    QCOMPARE(form.txt_mem->text(), QString());
    QTest::mouseClick(form.cmd_dn3, Qt::LeftButton);

    QCOMPARE(form.st.group_no, int16_t(1));
    QCOMPARE(form.st.man_count, int16_t(5));
    QCOMPARE(form.st.atari_count, int16_t(3));
    QCOMPARE(form.lbl_atari->text(), QStringLiteral("あたり3本"));
    QCOMPARE(form.txt_mem->text(), QStringLiteral("木曜会"));
    for (int i = 0; i < 8; ++i)
        QCOMPARE(form.man[i]->text(), QStringLiteral("名前%1").arg(i));
    QVERIFY(form.man[6]->isHidden());
    clickTimes(form.cmd_up, 3);
    QVERIFY(form.man[7]->isVisibleTo(&form));
    QCOMPARE(form.man[7]->text(), QStringLiteral("名前7"));
}

void TestGroups::sevenStepsComeBackAndWriteSevenTimes()
{
    SettingsForm f;
    Form1 &form = f.start();
    form.man[0]->setText(QStringLiteral("一番"));
    for (int step = 0; step < 7; ++step) {
        QVERIFY(!QFile::exists(f.path));
        QTest::mouseClick(form.cmd_up3, Qt::LeftButton);
        QVERIFY2(QFile::exists(f.path), "every group change writes the file");
        QCOMPARE(fileBytes(f.path).count("\r\n"), 326);
        QVERIFY(QFile::remove(f.path));
    }
    QCOMPARE(form.st.group_no, int16_t(1));
    QCOMPARE(form.man[0]->text(), QStringLiteral("一番"));
}

void TestGroups::neverEnteredGroupOpensAsFirstRun()
{
    SettingsForm f;
    Form1 &form = f.start();
    clickTimes(form.cmd_up, 4);
    form.man[0]->setText(QStringLiteral("太郎"));
    form.txt_mem->setText(QStringLiteral("メモ"));
    QTest::mouseClick(form.cmd_dn3, Qt::LeftButton);
    QCOMPARE(form.st.group_no, int16_t(7));
    QCOMPARE(form.st.man_count, int16_t(2));
    QCOMPARE(form.st.atari_count, int16_t(1));
    QCOMPARE(form.txt_mem->text(), QString());
    for (QLineEdit *box : form.man)
        QCOMPARE(box->text(), QString());
    QCOMPARE(form.lbl_1->text(), QStringLiteral("参加\r\n2人"));
}

// The file carries the group left, and lines 9..12 as start-up read them.
void TestGroups::fileHoldsTheGroupLeft()
{
    SettingsForm f;
    f.writeFile({{1, QStringLiteral("2")}, {2, QStringLiteral("3")}, {15, QStringLiteral("1")}, {kWindowLeftLine, QStringLiteral("45")},
                 {kWindowTopLine, QStringLiteral("60")}, {kGroupLine, QStringLiteral("1")},
                 {kModeLine, QStringLiteral("1")}, {58, QStringLiteral("空き行")}});
    Form1 &form = f.start();
    QCOMPARE(form.st.group_no, int16_t(2));
    form.man[2]->setText(QStringLiteral("山田〜太郎"));
    form.txt_mem->setText(QStringLiteral("二組"));
    form.move(300, 400);
    QTest::mouseClick(form.cmd_up3, Qt::LeftButton);

    const SetupLines lines = f.fileLines();
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

void TestGroups::badCountsInTheGroupEntered_data()
{
    QTest::addColumn<QString>("participants");
    QTest::addColumn<QString>("winners");
    QTest::addColumn<int>("manCount");
    QTest::addColumn<int>("atariCount");
    QTest::newRow("not a number") << QStringLiteral("x") << QStringLiteral("1") << 2 << 1;
    QTest::newRow("too many") << QStringLiteral("40") << QStringLiteral("1") << 2 << 1;
    QTest::newRow("winners empty") << QStringLiteral("6") << QString() << 2 << 1;
    QTest::newRow("breaking the relation kept") << QStringLiteral("4") << QStringLiteral("6") << 4 << 6;
}

void TestGroups::badCountsInTheGroupEntered()
{
    QFETCH(QString, participants);
    QFETCH(QString, winners);
    QFETCH(int, manCount);
    QFETCH(int, atariCount);
    SettingsForm f;
    f.writeFile({{1, QStringLiteral("3")}, {14, QStringLiteral("1")}, {2, participants}, {15, winners}});
    Form1 &form = f.start();
    QTest::mouseClick(form.cmd_up3, Qt::LeftButton);
    QCOMPARE(form.st.group_no, int16_t(2));
    QCOMPARE(int(form.st.man_count), manCount);
    QCOMPARE(int(form.st.atari_count), atariCount);
    QCOMPARE(form.lbl_1->text(), QStringLiteral("参加\r\n%1人").arg(manCount));
}

void TestGroups::failedSaveKeepsTheGroup()
{
    SettingsForm f;
    QTemporaryDir blocker;
    const QString notAFolder = blocker.filePath(QStringLiteral("file"));
    QVERIFY(writeBytes(notAFolder, "x"));
    f.ts.seams.settingsPath = notAFolder + QStringLiteral("/set_up.ini");
    Form1 &form = f.start();
    QTest::mouseClick(form.cmd_up, Qt::LeftButton);
    form.man[2]->setText(QStringLiteral("花子"));
    form.txt_mem->setText(QStringLiteral("大事なメモ"));

    QTest::mouseClick(form.cmd_up3, Qt::LeftButton);
    QCOMPARE(f.ts.messenger->shown.size(), 1);
    QVERIFY(f.ts.messenger->shown[0].contains(QStringLiteral("保存できませんでした")));
    QVERIFY(f.ts.messenger->shown[0].contains(QStringLiteral("set_up.ini")));
    QCOMPARE(form.st.group_no, int16_t(1));
    QCOMPARE(form.st.man_count, int16_t(3));
    QCOMPARE(form.man[2]->text(), QStringLiteral("花子"));
    QCOMPARE(form.txt_mem->text(), QStringLiteral("大事なメモ"));
}

// A window whose group was never loaded has no group to leave: the buttons stop at once.
void TestGroups::noGroupYetChangesNothing()
{
    SettingsForm f;
    Form1 form(std::move(f.ts.seams));
    QVERIFY(!form.guarded([&] { form.cmd_up3_Click(); }));
    QCOMPARE(form.st.group_no, int16_t(0));
    QCOMPARE(form.st.prev_group_no, int16_t(0));
    QTest::mouseClick(form.cmd_dn3, Qt::LeftButton);
    QCOMPARE(form.st.group_no, int16_t(0));
    QVERIFY(!QFile::exists(f.path));
}

QTEST_MAIN(TestGroups)
#include "tst_groups.moc"
