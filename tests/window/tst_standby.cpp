// "準備完了" as the window shows it: a refusal that changes nothing, the frozen window it leaves,
// the results behind the prize boxes, and the reveal phase after it.
#include "support/window.h"

#include <QApplication>
#include <QImage>

namespace {

const QString kNamesMissing = QStringLiteral("名前を全部に入れて下さい");
const QString kPrizesMissing = QStringLiteral("くじ内容を全部に入れて下さい");
const QString kResultColon = QStringLiteral(" \uFF1A");
const QString kWin = QStringLiteral("あたり");
const QString kTooManyWinners = QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。");

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

// Every control a standby could change, line by line, so that two moments can be compared.
QStringList snapshot(const Window &w)
{
    QStringList out;
    for (QWidget *c : w.form->findChildren<QWidget *>()) {
        QString line = QStringLiteral("%1 enabled=%2 shown=%3")
                           .arg(c->objectName()).arg(c->isEnabled()).arg(w.shown(c));
        if (const auto *edit = qobject_cast<const QLineEdit *>(c)) {
            line += QStringLiteral(" text=%1 locked=%2 limit=%3 fg=%4 bg=%5")
                        .arg(edit->text()).arg(edit->isReadOnly()).arg(edit->maxLength())
                        .arg(edit->palette().color(QPalette::Text).name(),
                             edit->palette().color(QPalette::Base).name());
        }
        if (const auto *button = qobject_cast<const QPushButton *>(c)) {
            line += QStringLiteral(" caption=%1 bg=%2 sheet=%3")
                        .arg(button->text(), button->palette().color(QPalette::Button).name(),
                             button->styleSheet());
        }
        if (const auto *label = qobject_cast<const QLabel *>(c))
            line += QStringLiteral(" caption=%1").arg(label->text());
        out << line;
    }
    return out;
}

} // namespace

class TestStandby : public QObject
{
    Q_OBJECT

private slots:
    void stopsAtAnEmptyBox_data();
    void stopsAtAnEmptyBox();
    void freezesTheEntryControls_data();
    void freezesTheEntryControls();
    void standbyButtonLooksPlainOnScreen();
    void disabledLooksDisabledUnderTheMessage();
    void drawsOneNewLadder_data();
    void drawsOneNewLadder();
    void revealPhaseTracesEveryName_data();
    void revealPhaseTracesEveryName();
    void longPrizesStayWhole_data();
    void longPrizesStayWhole();
};

// Rows: mode and count, the name and prize box left empty (-1: none), the message expected.
// (Which box is examined in which mode is a rule, checked in tst_lottery_modes.)
void TestStandby::stopsAtAnEmptyBox_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("emptyName");
    QTest::addColumn<int>("emptyPrize");
    QTest::addColumn<QString>("message");
    QTest::newRow("winner, first name") << kWinnerMode << 3 << 0 << -1 << kNamesMissing;
    QTest::newRow("lottery, name before prize") << kLotteryMode << 5 << 3 << 1 << kNamesMissing;
    QTest::newRow("lottery, last prize") << kLotteryMode << 5 << -1 << 4 << kPrizesMissing;
}

// The message, and nothing else: no draw, no file, every control and the drawing as they were.
void TestStandby::stopsAtAnEmptyBox()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(int, emptyName);
    QFETCH(int, emptyPrize);
    QFETCH(QString, message);
    Window w;
    QVERIFY(w.writeLines(counts(count, 1, mode)));
    w.start();
    // The stored list tints the prize boxes.
    if (mode == kLotteryMode)
        w.button("cmd_change")->click();
    w.fillEntries();
    w.memo()->setText(QStringLiteral("メモ"));
    if (emptyName >= 0)
        w.nameBox(emptyName)->clear();
    if (emptyPrize >= 0)
        w.prizeBox(emptyPrize)->clear();
    w.ts.ticks->value = 777;
    const QStringList before = snapshot(w);
    const QImage picture = w.picture();
    const QByteArray file = w.written();
    const long long draws = w.ts.random->draws;

    QVERIFY(!w.standby());

    QCOMPARE(w.messages(), QStringList{message});
    QCOMPARE(w.ts.random->draws, draws);
    QCOMPARE(w.written(), file);
    QCOMPARE(snapshot(w), before);
    QVERIFY(w.picture() == picture);

    // Once the box is filled, the same button goes through.
    w.nameBox(qMax(emptyName, 0))->setText(QStringLiteral("名"));
    w.prizeBox(qMax(emptyPrize, 0))->setText(QStringLiteral("賞"));
    QVERIFY(w.standby());
    QCOMPARE(w.messages().size(), 1);
    QVERIFY(w.written() != file);
}

// Rows: mode, count and winner count from the file, the message standby shows, the texts behind
// the participants' prize boxes in sorted order.
void TestStandby::freezesTheEntryControls_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("winners");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("results");
    const QString no;
    QTest::newRow("winner") << kWinnerMode << 2 << QString() << QStringList{no, no, no, kWin, kWin};
    QTest::newRow("winner, as many winners as participants") << kWinnerMode << 5 << kTooManyWinners << QStringList(5, kWin);
    QTest::newRow("lottery") << kLotteryMode << 1 << QString() << QStringList{"P0", "P1", "P2", "P3", "P4"};
    QTest::newRow("number") << kNumberMode << 1 << QString() << QStringList{"1", "2", "3", "4", "5"};
}

// Entry controls disabled or locked, prize boxes hidden, locked, untinted and empty; once traced
// they show the results in black and "あたり" in red. A refused ladder (its message shown) does
// not stop standby.
void TestStandby::freezesTheEntryControls()
{
    QFETCH(int, mode);
    QFETCH(int, winners);
    QFETCH(QString, message);
    QFETCH(QStringList, results);
    Window w;
    QVERIFY(w.writeLines(counts(5, winners, mode)));
    w.start();
    // The stored list tints the prize boxes; standby gives them back the window colour.
    if (mode == kLotteryMode)
        w.button("cmd_change")->click();
    w.fillEntries();

    QVERIFY(w.standby());

    QCOMPARE(w.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    for (const char *name : {"cmd_mode", "cmd_up", "cmd_down", "cmd_up2", "cmd_dn2", "cmd_up3", "cmd_dn3", "cmd_clr",
                             "cmd_standby", "cmd_print"})
        QVERIFY2(!w.button(name)->isEnabled(), name);
    QVERIFY(!w.shown(w.button("cmd_change")));
    QVERIFY(w.memo()->isReadOnly());
    QVERIFY(!w.memo()->isEnabled());
    QCOMPARE(w.button("cmd_standby")->palette().color(QPalette::Button),
             QApplication::palette(w.button("cmd_standby")).color(QPalette::Button));
    QCOMPARE(w.button("cmd_standby")->styleSheet(), QString());
    QStringList behind;
    for (int i = 0; i < kBoxCount; ++i) {
        QVERIFY(w.nameBox(i)->isReadOnly());
        QCOMPARE(w.shown(w.nameBox(i)), i < 5);
        QLineEdit *prize = w.prizeBox(i);
        QVERIFY(!w.shown(prize));
        QVERIFY(prize->isReadOnly());
        QCOMPARE(prize->maxLength(), kNoLengthLimit);
        QCOMPARE(prize->palette().color(QPalette::Base), QApplication::palette(prize).color(QPalette::Base));
        QCOMPARE(prize->text(), QString());
    }

    // A locked name box takes no typing; the disabled buttons do nothing.
    QTest::keyClicks(w.nameBox(0), QStringLiteral("zz"));
    QCOMPARE(w.nameBox(0)->text(), QStringLiteral("N0"));
    const QStringList before = snapshot(w);
    const long long draws = w.ts.random->draws;
    for (const char *name : {"cmd_standby", "cmd_mode", "cmd_up", "cmd_up3"})
        QTest::mouseClick(w.button(name), Qt::LeftButton);
    QCOMPARE(snapshot(w), before);
    QCOMPARE(w.ts.random->draws, draws);

    w.traceAll();
    for (int i = 0; i < 5; ++i) {
        QLineEdit *prize = w.prizeBox(i);
        const QString result = prize->text().section(kResultColon, 0, 0);
        QCOMPARE(prize->palette().color(QPalette::Text), result == kWin ? QColor(Qt::red) : QColor(Qt::black));
        behind << result;
    }
    behind.sort();
    QCOMPARE(behind, results);
}

// On a window already shown, the red of the standby button goes: it looks like any other
// disabled button.
void TestStandby::standbyButtonLooksPlainOnScreen()
{
    Window w;
    QVERIFY(w.prepare(kWinnerMode, 3));
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QWidget *standby = w.button("cmd_standby");
    QVERIFY(faceColour(standby).red() > 200 && faceColour(standby).green() < 60);

    QVERIFY(w.standby());
    QApplication::processEvents();

    const QColor face = faceColour(standby), plain = faceColour(w.button("cmd_clr"));
    QVERIFY2(similar(face, plain), qPrintable(face.name() + QLatin1Char(' ') + plain.name()));
    QCOMPARE(standby->palette().color(QPalette::Button), QApplication::palette(standby).color(QPalette::Button));
}

// A file's winners as many as its participants: standby shows the ladder's refusal with 準備完了
// already disabled, and it looks so, red no more; the memo, disabled, loses its green.
void TestStandby::disabledLooksDisabledUnderTheMessage()
{
    Window w;
    QVERIFY(w.writeLines(counts(5, 5, kWinnerMode)));
    w.start();
    w.fillEntries();
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QWidget *standby = w.button("cmd_standby");
    QColor underMessage;
    w.ts.messenger->whileOpen = [&] { underMessage = standby->isEnabled() ? QColor() : faceColour(standby); };
    const QColor memoText = w.memo()->palette().color(QPalette::Active, QPalette::Text);
    QVERIFY(w.standby());
    QCOMPARE(w.messages(), QStringList{kTooManyWinners});
    QVERIFY2(underMessage.isValid() && !(underMessage.red() > 200 && underMessage.green() < 60), qPrintable(underMessage.name()));
    QVERIFY(w.memo()->palette().color(QPalette::Disabled, QPalette::Text) != memoText);
}

// Rows: count, tick counter. In lottery mode the draws standby takes are the shuffle's one per
// row but the first and exactly one ladder's: its warm-up and one draw per candidate rung.
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
    Window w;
    QVERIFY(w.prepare(kLotteryMode, count));
    QVERIFY(w.button("cmd_standby")->styleSheet().contains(QStringLiteral("#ff0000")));
    w.ts.ticks->value = ticks;
    const long long draws = w.ts.random->draws;

    QVERIFY(w.standby());

    const int warmUp = ticks % 1000;
    const int candidates = qMin(count + 3, 24);
    QCOMPARE(w.ts.random->draws - draws, (count - 1LL) + warmUp + (count - 1) * candidates);
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
    Window w;
    QVERIFY(w.prepare(mode, count, 2));
    QVERIFY(w.standby());

    for (int i = 0; i < count; ++i) {
        QVERIFY(!w.button("cmd_print")->isEnabled());
        w.clickName(i);
    }
    QStringList namesReached;
    for (int row = 0; row < kBoxCount; ++row) {
        QLineEdit *box = w.prizeBox(row);
        QCOMPARE(w.shown(box), row < count);
        if (row >= count)
            continue;
        QCOMPARE(box->text().count(kResultColon), 1);
        namesReached << box->text().section(kResultColon, 1);
    }
    namesReached.sort();
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("N%1").arg(i);
    names.sort();
    QCOMPARE(namesReached, names);
    QVERIFY(w.button("cmd_print")->isEnabled());
}

// Rows: the stored prize list, one prize per participant. Prizes longer than the typing limit
// stay whole behind the prize boxes, whichever box they are shuffled into, and once traced.
void TestStandby::longPrizesStayWhole_data()
{
    const QString twenty = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    const QString fifteen = QStringLiteral("アイウエオカキクケコサシスセソ");
    QTest::addColumn<QStringList>("prizes");
    QTest::newRow("20, 15") << QStringList{twenty, fifteen};
    QTest::newRow("15, short, another 15")
        << QStringList{fifteen, QStringLiteral("賞"), QStringLiteral("カキクケコサシスセソタチツテト")};
}

void TestStandby::longPrizesStayWhole()
{
    QFETCH(QStringList, prizes);
    const int count = int(prizes.size());
    Lines lines = counts(count, 1, kLotteryMode);
    for (int i = 0; i < count; ++i)
        lines[settings::storedPrizeLine(i)] = prizes[i];
    Window w;
    QVERIFY(w.writeLines(lines));
    w.start();
    w.button("cmd_change")->click();
    for (int i = 0; i < count; ++i) {
        QCOMPARE(w.prizeBox(i)->text(), prizes[i]);
        w.nameBox(i)->setText(QStringLiteral("N%1").arg(i));
    }

    QVERIFY(w.standby());
    w.traceAll();
    QStringList hidden;
    for (int row = 0; row < count; ++row)
        hidden << w.prizeBox(row)->text().section(kResultColon, 0, 0);
    QStringList sortedHidden = hidden, sortedPrizes = prizes;
    sortedHidden.sort();
    sortedPrizes.sort();
    QCOMPARE(sortedHidden, sortedPrizes);

    for (int row = 0; row < count; ++row) {
        const QString shown = w.prizeBox(row)->text();
        QVERIFY2(shown.startsWith(hidden[row] + kResultColon) && shown.size() == hidden[row].size() + 4,
                 qPrintable(shown));
    }
}

QTEST_MAIN(TestStandby)
#include "tst_standby.moc"
