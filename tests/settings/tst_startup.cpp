// Start-up: the state the window opens with for a settings file, or without one.
#include "settings/layout.h"
#include "file_bytes.h"
#include "settings_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace settings;
using Lines = QMap<int, QString>;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstRun();
    void opens_data();
    void opens();
    void openingMode_data();
    void openingMode();
    void firstRunDefaultsKeepNamesAndMemos();
    void groupSevenFromItsSlot();
    void windowPosition_data();
    void windowPosition();
    void spareWinnerLine_data();
    void spareWinnerLine();
    void longNameKeptWhole();
};

// A complete file for group g: counts, memo and names of every group.
static Lines fullFile(int participants = 5, int winners = 2)
{
    Lines lines;
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = QString::number(participants);
        lines[winnerCountLine(g)] = QString::number(winners);
        lines[memoLine(g)] = QStringLiteral("メモ%1").arg(g);
        for (int i = 0; i < kNamesPerGroup; ++i)
            lines[nameLine(g, i)] = QStringLiteral("G%1名前%2").arg(g).arg(i);
    }
    lines[kWindowLeftLine] = QStringLiteral("0");
    lines[kWindowTopLine] = QStringLiteral("0");
    lines[kGroupLine] = QStringLiteral("0");
    lines[kModeLine] = QStringLiteral("0");
    return lines;
}

void TestStartup::firstRun()
{
    SettingsForm f;
    Form1 &form = f.start();
    QCOMPARE(form.st.group_no, int16_t(1));
    QCOMPARE(form.st.man_count, int16_t(2));
    QCOMPARE(form.st.atari_count, int16_t(1));
    QCOMPARE(form.st.draw_mode, int16_t(1));
    QCOMPARE(form.cmd_mode->text(), QStringLiteral("くじ引きモード"));
    QCOMPARE(form.st.line_top, int16_t(720));
    QCOMPARE(form.st.color_table, kColorTable);
    QCOMPARE(form.pos(), QPoint(0, 0));
    for (int g = 1; g <= kGroupCount; ++g) {
        QCOMPARE(form.st.setup_lines[participantCountLine(g)], QStringLiteral("2"));
        QCOMPARE(form.st.setup_lines[winnerCountLine(g)], QStringLiteral("1"));
    }
    QCOMPARE(form.st.setup_lines[kWindowLeftLine], QStringLiteral("0"));
    QCOMPARE(form.st.setup_lines[kWindowTopLine], QStringLiteral("0"));
    QCOMPARE(form.lbl_1->text(), QStringLiteral("参加\r\n2人"));
    QCOMPARE(form.lbl_atari->text(), QStringLiteral("あたり1本"));
    QVERIFY(form.cmd_auto->isHidden());
    QVERIFY(form.cmd_test->isHidden());
    QCOMPARE(form.st.prev_group_no, int16_t(0));
    // The first ladder is drawn before the mode sets a density, so every allowed row has a rung.
    QCOMPARE(form.st.ladder.at(1, 2), int16_t(1));
    QCOMPARE(form.st.ladder.at(1, 4), int16_t(1));
    QCOMPARE(form.st.ladder.at(1, 6), int16_t(1));
    QVERIFY(form.st.rung_density >= 1.6f && form.st.rung_density < 3.1f);
    QVERIFY(!QFile::exists(f.path));
}

void TestStartup::opens_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("participants");
    QTest::addColumn<int>("winners");

    Lines full = fullFile();
    QTest::newRow("full file") << full << 1 << 5 << 2;
    Lines six = full;
    six[kGroupLine] = QStringLiteral("6");
    QTest::newRow("line 11 reads 6") << six << 7 << 5 << 2;
    Lines leading = full;
    leading[kGroupLine] = QStringLiteral("2abc");
    QTest::newRow("line 11 begins with 2") << leading << 3 << 5 << 2;
    Lines half = full;
    half[kGroupLine] = QStringLiteral("2.5");
    QTest::newRow("line 11 rounds half to even") << half << 4 << 5 << 2;
    for (const char *bad : {"7", "-1", "99999", "-0.6"}) {
        Lines outside = full;
        outside[kGroupLine] = QLatin1String(bad);
        QTest::addRow("line 11 %s opens group 1", bad) << outside << 1 << 5 << 2;
    }
    Lines tenLines;
    for (int k = 1; k <= 10; ++k)
        tenLines[k] = full.value(k);
    // Its winner line is missing, so the group opens with the first-run pair.
    QTest::newRow("10-line file") << tenLines << 1 << 2 << 1;
    for (const char *bad : {"", "abc", "1", "38", "2.5e10"}) {
        Lines badCount = full;
        badCount[participantCountLine(1)] = QStringLiteral("3");
        badCount[participantCountLine(2)] = QLatin1String(bad);
        badCount[kGroupLine] = QStringLiteral("1");
        QTest::addRow("participants '%s' give the first-run pair", bad) << badCount << 2 << 2 << 1;
    }
    Lines badWinners = full;
    badWinners[winnerCountLine(1)] = QStringLiteral("x");
    QTest::newRow("winners not a number") << badWinners << 1 << 2 << 1;
    Lines broken = fullFile(4, 6);
    QTest::newRow("counts breaking the relation are kept") << broken << 1 << 4 << 6;
    Lines rounded = fullFile(4, 2);
    rounded[participantCountLine(1)] = QStringLiteral(" 4.5 ");
    QTest::newRow("participants rounded half to even") << rounded << 1 << 4 << 2;
}

void TestStartup::opens()
{
    QFETCH(Lines, lines);
    QFETCH(int, group);
    QFETCH(int, participants);
    QFETCH(int, winners);
    SettingsForm f;
    f.writeFile(lines);
    const QByteArray before = fileBytes(f.path);
    Form1 &form = f.start();

    QCOMPARE(int(form.st.group_no), group);
    QCOMPARE(int(form.st.man_count), participants);
    QCOMPARE(int(form.st.atari_count), winners);
    QCOMPARE(form.txt_mem->text(), lines.value(memoLine(group)));
    for (int i = 0; i < Form1::BoxCount; ++i) {
        QCOMPARE(form.man[i]->text(), lines.value(nameLine(group, i)));
        QCOMPARE(form.man[i]->isVisibleTo(&form), i < participants);
    }
    QCOMPARE(form.lbl_1->text(), QStringLiteral("参加\r\n%1人").arg(participants));
    QCOMPARE(form.lbl_atari->text(), QStringLiteral("あたり%1本").arg(winners));
    QCOMPARE(fileBytes(f.path), before);
}

void TestStartup::openingMode_data()
{
    QTest::addColumn<QString>("line12");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::newRow("-1") << QStringLiteral("-1") << 0 << QStringLiteral("あたりモード");
    QTest::newRow("0") << QStringLiteral("0") << 1 << QStringLiteral("くじ引きモード");
    QTest::newRow("1") << QStringLiteral("1") << 2 << QStringLiteral("番号モード");
    QTest::newRow("2") << QStringLiteral("2") << 0 << QStringLiteral("あたりモード");
    QTest::newRow("empty") << QString() << 1 << QStringLiteral("くじ引きモード");
    QTest::newRow("letters") << QStringLiteral("x") << 1 << QStringLiteral("くじ引きモード");
    QTest::newRow("32767") << QStringLiteral("32767") << 1 << QStringLiteral("くじ引きモード");
    QTest::newRow("3") << QStringLiteral("3") << 1 << QStringLiteral("くじ引きモード");
    QTest::newRow("-2") << QStringLiteral("-2") << 1 << QStringLiteral("くじ引きモード");
}

void TestStartup::openingMode()
{
    QFETCH(QString, line12);
    QFETCH(int, mode);
    QFETCH(QString, caption);
    SettingsForm f;
    Lines lines = fullFile();
    lines[kModeLine] = line12;
    f.writeFile(lines);
    Form1 &form = f.start();
    QCOMPARE(int(form.st.draw_mode), mode);
    QCOMPARE(form.cmd_mode->text(), caption);
    QCOMPARE(form.lbl_atari->isVisibleTo(&form), mode == 0);
    QCOMPARE(form.cmd_change->isVisibleTo(&form), mode == 1);
}

void TestStartup::firstRunDefaultsKeepNamesAndMemos()
{
    SettingsForm f;
    Lines lines = fullFile(9, 4);
    lines[participantCountLine(1)] = QStringLiteral("1");
    lines[kGroupLine] = QStringLiteral("3");
    f.writeFile(lines);
    Form1 &form = f.start();
    QCOMPARE(form.st.group_no, int16_t(4));
    QCOMPARE(form.st.man_count, int16_t(2));
    QCOMPARE(form.st.atari_count, int16_t(1));
    for (int g = 1; g <= kGroupCount; ++g) {
        QCOMPARE(form.st.setup_lines[participantCountLine(g)], QStringLiteral("2"));
        QCOMPARE(form.st.setup_lines[winnerCountLine(g)], QStringLiteral("1"));
        QCOMPARE(form.st.setup_lines[memoLine(g)], lines[memoLine(g)]);
        QCOMPARE(form.st.setup_lines[nameLine(g, 36)], lines[nameLine(g, 36)]);
    }
    QCOMPARE(form.txt_mem->text(), QStringLiteral("メモ4"));
}

void TestStartup::groupSevenFromItsSlot()
{
    SettingsForm f;
    Lines lines = fullFile(37, 3);
    lines[kGroupLine] = QStringLiteral("6");
    lines[289] = QStringLiteral("七組");
    lines[290] = QStringLiteral("最初");
    lines[326] = QStringLiteral("最後");
    f.writeFile(lines);
    Form1 &form = f.start();
    QCOMPARE(form.txt_mem->text(), QStringLiteral("七組"));
    QCOMPARE(form.man[0]->text(), QStringLiteral("最初"));
    QCOMPARE(form.man[36]->text(), QStringLiteral("最後"));
    QCOMPARE(form.st.man_count, int16_t(37));
}

void TestStartup::windowPosition_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("leftAfter");
    QTest::addColumn<QString>("topAfter");
    QTest::newRow("stored") << QStringLiteral("1500") << QStringLiteral("3000") << QPoint(100, 200)
                            << QStringLiteral("1500") << QStringLiteral("3000");
    QTest::newRow("negative top") << QStringLiteral("1500") << QStringLiteral("-60") << QPoint(100, 0)
                                  << QStringLiteral("1500") << QStringLiteral("0");
    QTest::newRow("negative left") << QStringLiteral("-1") << QStringLiteral("300") << QPoint(0, 20)
                                   << QStringLiteral("0") << QStringLiteral("300");
    QTest::newRow("not numbers") << QStringLiteral("x") << QString() << QPoint(0, 0)
                                 << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("beyond the screen") << QStringLiteral("150000") << QStringLiteral("0.5")
                                       << QPoint(10000, 0) << QStringLiteral("150000")
                                       << QStringLiteral("0.5");
    QTest::newRow("too large for single precision") << QStringLiteral("1e39") << QStringLiteral("15")
                                                    << QPoint(0, 1) << QStringLiteral("1e39")
                                                    << QStringLiteral("15");
}

void TestStartup::windowPosition()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QFETCH(QPoint, position);
    QFETCH(QString, leftAfter);
    QFETCH(QString, topAfter);
    SettingsForm f;
    Lines lines = fullFile();
    lines[kWindowLeftLine] = left;
    lines[kWindowTopLine] = top;
    f.writeFile(lines);
    Form1 &form = f.start();
    QCOMPARE(form.pos(), position);
    QCOMPARE(form.st.setup_lines[kWindowLeftLine], leftAfter);
    QCOMPARE(form.st.setup_lines[kWindowTopLine], topAfter);
}

void TestStartup::spareWinnerLine_data()
{
    QTest::addColumn<QString>("line13");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << QString() << QStringLiteral("1");
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("1");
    QTest::newRow("kept") << QStringLiteral("5") << QStringLiteral("5");
    QTest::newRow("text") << QStringLiteral("abc") << QStringLiteral("1");
}

void TestStartup::spareWinnerLine()
{
    QFETCH(QString, line13);
    QFETCH(QString, after);
    SettingsForm f;
    Lines lines = fullFile();
    lines[kSpareWinnerLine] = line13;
    f.writeFile(lines);
    QCOMPARE(f.start().st.setup_lines[kSpareWinnerLine], after);
}

// A name longer than a box's typing limit (written by hand, say) is shown and kept whole.
void TestStartup::longNameKeptWhole()
{
    SettingsForm f;
    Lines lines = fullFile();
    const QString longName = QStringLiteral("とても長い名前の参加者さんです");
    lines[nameLine(1, 0)] = longName;
    f.writeFile(lines);
    Form1 &form = f.start();
    QCOMPARE(form.man[0]->text(), longName);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
