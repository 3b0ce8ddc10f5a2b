// "準備完了": the entry checks, the frozen window it leaves, and the reveal phase after it.
#include "standby_form.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace {

const QString kNamesMissing = QStringLiteral("名前を全部に入れて下さい");
const QString kPrizesMissing = QStringLiteral("くじ内容を全部に入れて下さい");
const QString kResultColon = QStringLiteral(" \uFF1A");

// The mean colour inside a button's border (its face is shaded, so no single pixel stands for it).
QColor faceColour(QWidget *button)
{
    const QImage picture = button->grab().toImage();
    long long red = 0, green = 0, blue = 0, count = 0;
    for (int y = 4; y < picture.height() - 4; ++y) {
        for (int x = 4; x < picture.width() - 4; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            red += qRed(pixel);
            green += qGreen(pixel);
            blue += qBlue(pixel);
            ++count;
        }
    }
    return count ? QColor(int(red / count), int(green / count), int(blue / count)) : QColor();
}

bool similar(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 12 && qAbs(a.green() - b.green()) <= 12 && qAbs(a.blue() - b.blue()) <= 12;
}

// Everything a standby could change, line by line, so that two moments can be compared.
QStringList snapshot(const Form1 &form)
{
    QStringList out;
    for (const QWidget *w : form.findChildren<QWidget *>()) {
        QString line = QStringLiteral("%1 enabled=%2 shown=%3")
                           .arg(w->objectName()).arg(w->isEnabled()).arg(w->isVisibleTo(&form));
        if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
            line += QStringLiteral(" text=%1 locked=%2 limit=%3 fg=%4 bg=%5")
                        .arg(edit->text()).arg(edit->isReadOnly()).arg(edit->maxLength())
                        .arg(edit->palette().color(QPalette::Text).name(),
                             edit->palette().color(QPalette::Base).name());
        }
        if (const auto *button = qobject_cast<const QPushButton *>(w)) {
            line += QStringLiteral(" caption=%1 bg=%2 sheet=%3")
                        .arg(button->text(), button->palette().color(QPalette::Button).name(),
                             button->styleSheet());
        }
        if (const auto *label = qobject_cast<const QLabel *>(w))
            line += QStringLiteral(" caption=%1").arg(label->text());
        out << line;
    }
    const LotteryState &st = form.st;
    out << QStringLiteral("count=%1 winners=%2 mode=%3 ready=%4 traced=%5 group=%6 list=%7 density=%8")
               .arg(st.man_count).arg(st.atari_count).arg(st.draw_mode).arg(st.ready_flag)
               .arg(st.all_traced).arg(st.group_no).arg(st.stored_prizes_shown).arg(double(st.rung_density));
    for (int k = 0; k < LotteryState::SetupLineCount; ++k)
        out << QStringLiteral("line %1=%2").arg(k).arg(st.setup_lines[k]);
    QString grid;
    for (int r = 0; r < LadderGrid::Rows; ++r)
        for (int c = 0; c < LadderGrid::Columns; ++c)
            grid += QString::number(st.ladder.at(c, r));
    out << grid;
    return out;
}

} // namespace

class TestStandby : public QObject
{
    Q_OBJECT

private slots:
    void stopsAtAnEmptyBox_data();
    void stopsAtAnEmptyBox();
    void proceedsWhenTheShownRowsAreFilled_data();
    void proceedsWhenTheShownRowsAreFilled();
    void freezesTheEntryControls_data();
    void freezesTheEntryControls();
    void standbyButtonLooksPlainOnScreen();
    void drawsOneNewLadder_data();
    void drawsOneNewLadder();
    void revealPhaseTracesEveryName_data();
    void revealPhaseTracesEveryName();
};

// Rows: mode and count, the name and prize box left empty (-1: none), the message expected.
void TestStandby::stopsAtAnEmptyBox_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("emptyName");
    QTest::addColumn<int>("emptyPrize");
    QTest::addColumn<QString>("message");
    QTest::newRow("winner, first name") << kWinnerMode << 3 << 0 << -1 << kNamesMissing;
    QTest::newRow("number, last of 37 names") << kNumberMode << 37 << 36 << -1 << kNamesMissing;
    QTest::newRow("lottery, name before prize") << kLotteryMode << 5 << 3 << 1 << kNamesMissing;
    QTest::newRow("lottery, last prize") << kLotteryMode << 5 << -1 << 4 << kPrizesMissing;
    QTest::newRow("lottery, first prize of 2") << kLotteryMode << 2 << -1 << 0 << kPrizesMissing;
}

// The message, and nothing else: no draw, no file, every control and line as it was.
void TestStandby::stopsAtAnEmptyBox()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(int, emptyName);
    QFETCH(int, emptyPrize);
    QFETCH(QString, message);
    StandbyForm f;
    QVERIFY(f.load() && f.toMode(mode) && f.toCount(count));
    // With the stored list shown, a store made before the checks would change lines 21..57.
    if (mode == kLotteryMode)
        f.form.cmd_change->click();
    f.fillEntries();
    f.form.txt_mem->setText(QStringLiteral("メモ"));
    if (emptyName >= 0)
        f.form.man[emptyName]->clear();
    if (emptyPrize >= 0)
        f.form.ans[emptyPrize]->clear();
    f.ts.ticks->value = 777;
    const QStringList before = snapshot(f.form);
    const QImage picture = f.form.surface.image();
    const long long draws = f.ts.random->draws;

    f.form.cmd_standby->click();

    QCOMPARE(f.ts.messenger->shown, QStringList{message});
    QCOMPARE(f.ts.random->draws, draws);
    QVERIFY(!f.fileExists());
    QCOMPARE(snapshot(f.form), before);
    QVERIFY(f.form.surface.image() == picture);

    // Once the box is filled, the same button goes through.
    f.form.man[qMax(emptyName, 0)]->setText(QStringLiteral("名"));
    f.form.ans[qMax(emptyPrize, 0)]->setText(QStringLiteral("賞"));
    f.form.cmd_standby->click();
    QCOMPARE(f.ts.messenger->shown.size(), 1);
    QCOMPARE(f.form.st.ready_flag, int16_t(1));
    QVERIFY(f.fileExists());
}

// Rows: mode and count; names and prizes of blanks only; rows past the count left empty.
void TestStandby::proceedsWhenTheShownRowsAreFilled_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("winner, blank names") << kWinnerMode << 4 << " ";
    QTest::newRow("lottery, blank names and prizes") << kLotteryMode << 3 << " ";
    QTest::newRow("lottery, 2 of 37 rows") << kLotteryMode << 2 << "x";
    QTest::newRow("number, 36 of 37 rows") << kNumberMode << 36 << "x";
}

void TestStandby::proceedsWhenTheShownRowsAreFilled()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(QString, text);
    StandbyForm f;
    QVERIFY(f.load() && f.toMode(mode) && f.toCount(count));
    for (int i = 0; i < count; ++i) {
        f.form.man[i]->setText(text);
        if (mode == kLotteryMode)
            f.form.ans[i]->setText(text);
    }
    for (int i = count; i < Form1::BoxCount; ++i)
        QVERIFY(f.form.man[i]->text().isEmpty() && f.form.ans[i]->text().isEmpty());

    f.form.cmd_standby->click();

    QCOMPARE(f.ts.messenger->shown, QStringList());
    QCOMPARE(f.form.st.ready_flag, int16_t(1));
    QVERIFY(f.fileExists());
}

void TestStandby::freezesTheEntryControls_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("winner") << kWinnerMode;
    QTest::newRow("lottery") << kLotteryMode;
    QTest::newRow("number") << kNumberMode;
}

void TestStandby::freezesTheEntryControls()
{
    QFETCH(int, mode);
    StandbyForm f;
    QVERIFY(f.load() && f.toMode(mode) && f.toCount(5));
    // The stored list tints the prize boxes; standby gives them back the window colour.
    if (mode == kLotteryMode)
        f.form.cmd_change->click();
    f.fillEntries();

    f.form.cmd_standby->click();

    QCOMPARE(f.ts.messenger->shown, QStringList());
    for (QPushButton *button : {f.form.cmd_mode, f.form.cmd_up, f.form.cmd_down, f.form.cmd_up2, f.form.cmd_dn2,
                                f.form.cmd_up3, f.form.cmd_dn3, f.form.cmd_clr, f.form.cmd_standby})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    QVERIFY(!f.form.cmd_change->isVisibleTo(&f.form));
    QVERIFY(!f.form.cmd_print->isEnabled());
    QVERIFY(f.form.txt_mem->isReadOnly());
    QVERIFY(!f.form.txt_mem->isEnabled());
    const QPalette standard = QApplication::palette(f.form.cmd_standby);
    QCOMPARE(f.form.cmd_standby->palette().color(QPalette::Button), standard.color(QPalette::Button));
    QCOMPARE(f.form.cmd_standby->styleSheet(), QString());
    for (int i = 0; i < Form1::BoxCount; ++i) {
        QVERIFY(f.form.man[i]->isReadOnly());
        QCOMPARE(f.form.man[i]->isVisibleTo(&f.form), i < 5);
        QLineEdit *prize = f.form.ans[i];
        QVERIFY(!prize->isVisibleTo(&f.form));
        QVERIFY(prize->isReadOnly());
        QCOMPARE(prize->maxLength(), 32767);
        QCOMPARE(prize->palette().color(QPalette::Base), QApplication::palette(prize).color(QPalette::Base));
    }
    QCOMPARE(f.form.st.ready_flag, int16_t(1));

    // A locked name box takes no typing; the disabled buttons do nothing.
    QTest::keyClicks(f.form.man[0], QStringLiteral("zz"));
    QCOMPARE(f.form.man[0]->text(), QStringLiteral("N0"));
    const QStringList before = snapshot(f.form);
    const long long draws = f.ts.random->draws;
    for (QPushButton *button : {f.form.cmd_standby, f.form.cmd_mode, f.form.cmd_up, f.form.cmd_up3})
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(snapshot(f.form), before);
    QCOMPARE(f.ts.random->draws, draws);
}

// On a window already shown, the red of the standby button goes: it looks like any other
// disabled button.
void TestStandby::standbyButtonLooksPlainOnScreen()
{
    StandbyForm f;
    QVERIFY(f.prepare(kWinnerMode, 3));
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QVERIFY(faceColour(f.form.cmd_standby).red() > 200 && faceColour(f.form.cmd_standby).green() < 60);

    f.form.cmd_standby->click();
    QApplication::processEvents();

    const QColor face = faceColour(f.form.cmd_standby), plain = faceColour(f.form.cmd_clr);
    QVERIFY2(similar(face, plain), qPrintable(face.name() + QLatin1Char(' ') + plain.name()));
    const QPalette standard = QApplication::palette(f.form.cmd_standby);
    QCOMPARE(f.form.cmd_standby->palette().color(QPalette::Button), standard.color(QPalette::Button));
}

// Rows: count, tick counter. In lottery mode the draws standby takes are the shuffle's two per
// exchange and exactly one ladder's: its warm-up and one draw per candidate rung. (The other
// modes are counted with their placements in tst_standby_results.)
void TestStandby::drawsOneNewLadder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("ticks");
    QTest::newRow("2, no warm-up") << 2 << 0;
    QTest::newRow("5") << 5 << 1234;
    QTest::newRow("37") << 37 << 999;
    QTest::newRow("21, candidate rows capped") << 21 << 86400500;
}

void TestStandby::drawsOneNewLadder()
{
    QFETCH(int, count);
    QFETCH(int, ticks);
    StandbyForm f;
    QVERIFY(f.prepare(kLotteryMode, count));
    QVERIFY(f.form.cmd_standby->styleSheet().contains(QStringLiteral("#ff0000")));
    f.ts.ticks->value = ticks;
    const long long draws = f.ts.random->draws;

    f.form.cmd_standby->click();

    const int warmUp = ticks % 1000;
    const int candidates = qMin(count + 3, 24);
    QCOMPARE(f.ts.random->draws - draws, 2LL * (count + 40) + warmUp + (count - 1) * candidates);
    QCOMPARE(f.form.st.ready_flag, int16_t(1));
}

// Rows: mode and count. Each click on a name shows the box its path ends at, holding the hidden
// result followed by " ：" and the name; after the last, printing becomes possible.
void TestStandby::revealPhaseTracesEveryName_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::newRow("winner 6") << kWinnerMode << 6;
    QTest::newRow("lottery 4") << kLotteryMode << 4;
    QTest::newRow("number 37") << kNumberMode << 37;
}

void TestStandby::revealPhaseTracesEveryName()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    StandbyForm f;
    QVERIFY(f.prepare(mode, count, 2));
    f.form.cmd_standby->click();
    QStringList hidden;
    for (QLineEdit *box : f.form.ans)
        hidden << box->text();

    QStringList namesReached;
    for (int i = 0; i < count; ++i) {
        QCOMPARE(f.form.cmd_print->isEnabled(), false);
        QTest::mouseClick(f.form.man[i], Qt::LeftButton);
        QCOMPARE(f.form.st.ladder.at(i + 1, 0), int16_t(1));
    }
    for (int row = 0; row < Form1::BoxCount; ++row) {
        QLineEdit *box = f.form.ans[row];
        QCOMPARE(box->isVisibleTo(&f.form), row < count);
        if (row >= count)
            continue;
        const QString prefix = hidden[row] + kResultColon;
        QVERIFY2(box->text().startsWith(prefix), qPrintable(box->text()));
        namesReached << box->text().mid(prefix.size());
    }
    namesReached.sort();
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("N%1").arg(i);
    names.sort();
    QCOMPARE(namesReached, names);
    QCOMPARE(f.form.st.all_traced, int16_t(1));
    QVERIFY(f.form.cmd_print->isEnabled());
}

QTEST_MAIN(TestStandby)
#include "tst_standby.moc"
