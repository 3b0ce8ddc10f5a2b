// The set_up.ini a standby writes, byte for byte: 326 lines ended by CR LF in code page 932, the
// current group's slot and lines 9..12 as the window stands, every other line as it was read.
// The expected bytes are spelled out here, not produced by the program's own converter.
#include "support/window.h"

namespace {

// 山田〜太郎 typed with U+301C WAVE DASH, which code page 932 holds as 0x8160.
const QString kYamada = QStringLiteral("山田\u301C太郎");
const QByteArray kYamadaBytes = byteString({0x8E, 0x52, 0x93, 0x63, 0x81, 0x60, 0x91, 0xBE, 0x98, 0x59});
const QByteArray kHanakoBytes = byteString({0x89, 0xD4, 0x8E, 0x71});
const QByteArray kHalfWidthAiBytes = byteString({0xB1, 0xB2});
const QByteArray kPrizesMemoBytes = byteString({0x8F, 0xDC, 0x95, 0x69});
const QByteArray kFirstPrizeBytes = byteString({0x88, 0xEA, 0x93, 0x99});
const QByteArray kSecondPrizeBytes = byteString({0x93, 0xF1, 0x93, 0x99});

const QByteArray kCounts[7] = {"3", "5", "2", "37", "4", "2", "4"};

// Line k (1..326) of a list of file lines.
QByteArray &line(QList<QByteArray> &lines, int k)
{
    return lines[k - 1];
}

// A file as an earlier run left it, with something in every line, lines that hold nothing
// included, in some of them bytes of code page 932.
QList<QByteArray> earlierFile(int group, const QByteArray &modeLine)
{
    QList<QByteArray> lines(326);
    for (int g = 1; g <= 7; ++g) {
        line(lines, g) = kCounts[g - 1];
        line(lines, 13 + g) = "1";
        line(lines, 38 * g + 23) = "memo" + QByteArray::number(g);
        for (int i = 0; i < 37; ++i)
            line(lines, 38 * g + 24 + i) = "g" + QByteArray::number(g) + "n" + QByteArray::number(i);
    }
    line(lines, 8) = "C:\\eight~";
    line(lines, 9) = "1230";
    line(lines, 10) = "600";
    line(lines, 11) = QByteArray::number(group - 1);
    line(lines, 12) = modeLine;
    line(lines, 13) = "3";
    for (int i = 0; i < 37; ++i)
        line(lines, 21 + i) = "S" + QByteArray::number(i);
    line(lines, 21 + 5) = kFirstPrizeBytes;
    line(lines, 58) = byteString({0x82, 0xA0});
    line(lines, 60) = "sixty";
    line(lines, 38 * 2 + 24) = byteString({0x97, 0xE9, 0x96, 0xD8});
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &l : lines)
        bytes += l + "\r\n";
    return bytes;
}

// Compares two files and names the first line that differs.
bool sameFile(const QByteArray &actual, const QByteArray &expected)
{
    if (actual == expected)
        return true;
    const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
    for (int k = 0; k < qMin(a.size(), e.size()); ++k) {
        if (a[k] != e[k]) {
            qWarning("line %d: written %s, expected %s", k + 1, a[k].toHex(' ').constData(),
                     e[k].toHex(' ').constData());
            return false;
        }
    }
    qWarning("written %lld lines, expected %lld", qlonglong(a.size() - 1), qlonglong(e.size() - 1));
    return false;
}

} // namespace

class TestStandbyFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheGroupAndTheWindow_data();
    void writesTheGroupAndTheWindow();
    void firstRun_data();
    void firstRun();
};

// Rows: the group and mode line start-up reads, the mode standby runs in, whether the stored
// prize list is shown. (The lines of each mode and group are checked in tst_lottery_modes.)
void TestStandbyFile::writesTheGroupAndTheWindow_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QByteArray>("modeLine");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("listShown");
    QTest::newRow("lottery with the list, group 1") << 1 << QByteArray("0") << kLotteryMode << true;
    QTest::newRow("number, group 7") << 7 << QByteArray("1") << kNumberMode << false;
    QTest::newRow("winner from number mode, group 5") << 5 << QByteArray("1") << kWinnerMode << false;
}

void TestStandbyFile::writesTheGroupAndTheWindow()
{
    QFETCH(int, group);
    QFETCH(QByteArray, modeLine);
    QFETCH(int, mode);
    QFETCH(bool, listShown);
    const QList<QByteArray> earlier = earlierFile(group, modeLine);
    Window w;
    QVERIFY(w.writeFile(joined(earlier)));
    w.start();
    QCOMPARE(w.nameBox(4)->text(), QStringLiteral("g%1n4").arg(group));
    if (listShown)
        w.button("cmd_change")->click();
    QVERIFY(w.toMode(mode));
    w.button("cmd_up")->click();
    if (mode == kWinnerMode)
        w.button("cmd_up2")->click();
    const int count = kCounts[group - 1].toInt() + 1;
    // The shown list fills the prize boxes; otherwise they are typed.
    if (listShown)
        w.prizeBox(1)->setText(QStringLiteral("二等"));
    else
        w.fillEntries();
    for (int i = 4; i < count; ++i)
        w.nameBox(i)->setText(QStringLiteral("N%1").arg(i));
    w.nameBox(0)->setText(kYamada);
    w.nameBox(1)->setText(QStringLiteral("花子"));
    w.nameBox(2)->setText(QStringLiteral("Taro"));
    w.nameBox(36)->setText(QStringLiteral("ｱｲ"));
    w.nameBox(3)->setText(QStringLiteral(" "));
    w.memo()->setText(QStringLiteral("賞品"));
    // The user moves the window.
    w.form->move(twipsToPixels(2400), twipsToPixels(1515));

    QVERIFY(w.standby());

    QCOMPARE(w.messages(), QStringList());
    QList<QByteArray> expected = earlier;
    line(expected, group) = QByteArray::number(count);
    line(expected, 38 * group + 23) = kPrizesMemoBytes;
    line(expected, 9) = "2400";
    line(expected, 10) = "1515";
    line(expected, 11) = QByteArray::number(group - 1);
    line(expected, 12) = mode == kWinnerMode ? "-1" : mode == kLotteryMode ? "0" : "1";
    line(expected, 13 + group) = mode == kWinnerMode ? "2" : "1";
    const int names = 38 * group + 24;
    line(expected, names + 0) = kYamadaBytes;
    line(expected, names + 1) = kHanakoBytes;
    line(expected, names + 2) = "Taro";
    line(expected, names + 3) = " ";
    for (int i = 4; i < count; ++i)
        line(expected, names + i) = "N" + QByteArray::number(i);
    line(expected, names + 36) = kHalfWidthAiBytes;
    // The list as shown and typed, before the shuffle: only line 22 was typed over.
    if (listShown)
        line(expected, 22) = kSecondPrizeBytes;

    const QByteArray written = w.written();
    QCOMPARE(written.count("\r\n"), 326);
    QVERIFY(sameFile(written, joined(expected)));
}

// Rows: the mode standby runs in after a first run (which opens in lottery mode).
void TestStandbyFile::firstRun_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("modeLine");
    QTest::newRow("lottery") << kLotteryMode << QByteArray("0");
    QTest::newRow("winner") << kWinnerMode << QByteArray("-1");
}

// No file at start: the first-run counts, the window at 0, 0, the spare winner line guarded.
void TestStandbyFile::firstRun()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, modeLine);
    Window w;
    QVERIFY(w.prepare(mode, 2));
    QVERIFY(!w.fileExists());

    QVERIFY(w.standby());

    QList<QByteArray> expected(326);
    for (int g = 1; g <= 7; ++g) {
        line(expected, g) = "2";
        line(expected, 13 + g) = "1";
    }
    line(expected, 9) = "0";
    line(expected, 10) = "0";
    line(expected, 11) = "0";
    line(expected, 12) = modeLine;
    line(expected, 13) = "1";
    line(expected, 62) = "N0";
    line(expected, 63) = "N1";
    QVERIFY(sameFile(w.written(), joined(expected)));
}

QTEST_MAIN(TestStandbyFile)
#include "tst_standby_file.moc"
