// The ladder on the window: the first one of a run, a new one after a count change, and the one
// standby keeps when it is refused.
#include "support/window.h"

namespace {

const QString kTooManyWinners = QStringLiteral("あたり数を減らして下さい、") + QChar(0x0D)
    + QStringLiteral("上限は人数より１少ない数です。");
const QColor kBlack(Qt::black);

QColor pixelAt(const QImage &image, double xTwips, double yTwips)
{
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(int(twipsToPixels(xTwips) * dpr), int(twipsToPixels(yTwips) * dpr));
}

} // namespace

class TestMake : public QObject
{
    Q_OBJECT

private slots:
    // A first run: two lines and, as no density is chosen yet, a rung in every row the parity
    // rule allows (2, 4 and 6), black at pen width 1; the buttons start-up hides are hidden.
    void firstLadderOfARun()
    {
        Window w(1, 2500);
        w.start();
        const QImage image = w.picture();
        for (int row = 1; row <= 8; ++row)
            QCOMPARE(pixelAt(image, 1600 + 200 * row, 1260) == kBlack, row % 2 == 0 && row <= 6);
        QCOMPARE(pixelAt(image, 1500, 1080), kBlack);
        QCOMPARE(pixelAt(image, 6900, 1440), kBlack);
        QVERIFY(pixelAt(image, 1500, 1080 + 15) != kBlack);
        QVERIFY(pixelAt(image, 1500, 1800) != kBlack);
        for (const char *hidden : {"cmd_auto", "cmd_test", "cmd_make"})
            QVERIFY2(!w.shown(w.button(hidden)), hidden);
        QVERIFY(!w.button("cmd_print")->isEnabled());
        QCOMPARE(w.button("cmd_standby")->palette().color(QPalette::Button), QColor(255, 0, 0));
    }

    // One participant fewer: the fifth line goes with the old ladder; the prizes stay.
    void newLadderErasesTheOldOne()
    {
        Window w;
        QVERIFY(w.prepare(kLotteryMode, 5));
        w.prizeBox(2)->setText(QStringLiteral("一等"));
        const QImage before = w.picture();
        QCOMPARE(pixelAt(before, 1500, 2520), kBlack);

        w.button("cmd_down")->click();
        const QImage after = w.picture();
        QCOMPARE(w.participants(), 4);
        QVERIFY(pixelAt(after, 1500, 2520) != kBlack);
        QCOMPARE(pixelAt(after, 1500, 2160), kBlack);
        QCOMPARE(w.prizeBox(2)->text(), QStringLiteral("一等"));
        QCOMPARE(w.button("cmd_standby")->palette().color(QPalette::Button), QColor(255, 0, 0));
    }

    void standbyLadder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("atari");
        QTest::addColumn<bool>("refused");
        QTest::newRow("winner mode, as many winners") << kWinnerMode << 5 << 5 << true;
        QTest::newRow("winner mode, more winners") << kWinnerMode << 5 << 9 << true;
        QTest::newRow("winner mode, 2 of 2") << kWinnerMode << 2 << 2 << true;
        QTest::newRow("winner mode, one fewer") << kWinnerMode << 5 << 4 << false;
        QTest::newRow("lottery mode, more winners") << kLotteryMode << 3 << 30 << false;
        QTest::newRow("number mode, as many winners") << kNumberMode << 5 << 5 << false;
    }

    // Standby makes its ladder, or in winner mode with too many winners (counts from the file)
    // shows the one message, with a single carriage return, and keeps the old ladder on the
    // window; standby goes on either way.
    void standbyLadder()
    {
        QFETCH(int, mode);
        QFETCH(int, man);
        QFETCH(int, atari);
        QFETCH(bool, refused);
        Window w;
        QVERIFY(w.writeLines(counts(man, atari, mode)));
        w.start();
        w.fillEntries();
        const QImage ladder = w.ladderPicture();

        QVERIFY(w.standby());
        QCOMPARE(w.messages(), refused ? QStringList{kTooManyWinners} : QStringList{});
        QCOMPARE(w.ladderPicture() == ladder, refused);
    }
};

QTEST_MAIN(TestMake)
#include "tst_make.moc"
