// Tracing on the window, by click and by timer: the paths in their colours and widths, the prize
// boxes they reach, the time stamp and the automatic run.
#include "support/window.h"

#include <QAction>

#include <optional>

namespace {

const QString kColon = QStringLiteral(" \uFF1A");
const QColor kBlack(Qt::black);

double lineY(int line)
{
    return 720 + 360 * line;
}

QColor pixelAt(const QImage &image, double xTwips, double yTwips)
{
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(int(twipsToPixels(xTwips) * dpr), int(twipsToPixels(yTwips) * dpr));
}

// Follows participant i's colour from the left end of its line, row by row: along the line, and
// down or up wherever, and only where, the ladder had a black rung. The line it ends on, or 0
// where the colour breaks off or runs on past the end of the line.
int followColour(const QImage &now, const QImage &ladder, int i)
{
    const QColor colour = colorFromBgr(tableColor(kColorTable, i));
    int line = i + 1;
    if (pixelAt(now, 1500, lineY(line)) != colour)
        return 0;
    for (int row = 1; row <= 27; ++row) {
        if (pixelAt(now, 1500 + 200 * row, lineY(line)) != colour)
            return 0;
        int step = 0;
        for (int direction : {1, -1}) {
            const double middle = lineY(line) + 180 * direction;
            const bool rung = pixelAt(ladder, 1600 + 200 * row, middle) == kBlack;
            if (rung != (pixelAt(now, 1600 + 200 * row, middle) == colour))
                return 0;
            if (rung)
                step = direction;
        }
        line += step;
    }
    return pixelAt(now, 7060, lineY(line)) == colour ? 0 : line;
}

// The ink across participant i's own lead-in (x = 1500 twips), read in the colour's channel that
// stands out most from the background: a covered pixel counts 1, a smoothed edge pixel its share,
// so a line of pen width w gives w.
int inkAcross(const QImage &image, int i, QColor background)
{
    const QColor colour = colorFromBgr(tableColor(kColorTable, i));
    double span = 0, ink = 0;
    for (auto channel : {&QColor::red, &QColor::green, &QColor::blue}) {
        const double difference = (colour.*channel)() - (background.*channel)();
        if (std::abs(difference) <= std::abs(span))
            continue;
        span = difference;
        ink = 0;
        for (int dy = -6; dy <= 6; ++dy)
            ink += ((pixelAt(image, 1500, lineY(i + 1) + 15 * dy).*channel)() - (background.*channel)()) / span;
    }
    return qRound(ink);
}

// Solid pixels of the time stamp's blue above the first prize box.
int stampPixels(const QImage &image)
{
    int found = 0;
    for (int y = twipsToPixels(720); y < twipsToPixels(950); ++y)
        for (int x = twipsToPixels(7250); x < image.width(); ++x)
            found += image.pixelColor(x, y) == QColor(0, 0, 255);
    return found;
}

QStringList prizeTexts(const Window &w)
{
    QStringList texts;
    for (int i = 0; i < kBoxCount; ++i)
        texts << w.prizeBox(i)->text();
    return texts;
}

// A first run of three participants in `mode`, in its reveal phase, with the automatic run
// started: Enter in the second name box shows its button, a click on that starts it.
bool automaticRunStarted(Window &w, int mode)
{
    if (!w.prepare(mode, 3) || !w.standby())
        return false;
    QTest::keyClick(w.nameBox(1), Qt::Key_Return);
    w.button("cmd_auto")->click();
    return true;
}

} // namespace

class TraceTest : public QObject
{
    Q_OBJECT

private slots:
    void pathsRunAlongTheLadder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("lottery mode, 2 participants") << kLotteryMode << 2;
        QTest::newRow("winner mode, 8 participants") << kWinnerMode << 8;
        QTest::newRow("number mode, 15 participants") << kNumberMode << 15;
        QTest::newRow("lottery mode, 37 participants") << kLotteryMode << 37;
    }

    // Each click draws the participant's path over the ladder in its colour, to the prize box
    // it reaches, which then shows its result with " ：name" added (nothing before); every box is
    // reached once, and each path has its band's pen width.
    void pathsRunAlongTheLadder()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        Window w{unsigned(count)};
        QVERIFY(w.prepare(mode, count, 3));
        QVERIFY(w.standby());
        const QImage ladder = w.picture();

        for (int i = 0; i < count; ++i) {
            QStringList texts = prizeTexts(w);
            w.clickName(i);
            const int line = followColour(w.picture(), ladder, i);
            QVERIFY2(line > 0, qPrintable(QStringLiteral("path of participant %1").arg(i)));
            QVERIFY(w.shown(w.prizeBox(line - 1)));
            QCOMPARE(texts[line - 1], QString());
            QVERIFY(w.prizeBox(line - 1)->text().endsWith(kColon + QStringLiteral("N%1").arg(i)));
            texts[line - 1] = w.prizeBox(line - 1)->text();
            QCOMPARE(prizeTexts(w), texts);
        }
        const QImage traced = w.picture();
        const QColor background = w.form->palette().color(QPalette::Window);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(w.prizeBox(i)->text().count(kColon), 1);
            const int bandWidths[] = {3, 1, 5, 3, 1, 5};
            QCOMPARE(inkAcross(traced, i, background), bandWidths[i / 7]);
        }
        QCOMPARE(pixelAt(traced, 1500, lineY(1)), QColor(255, 128, 128));
        if (count == 37)
            QCOMPARE(pixelAt(traced, 1500, lineY(37)), QColor(0xFF, 0xFF, 0xC0));
    }

    // Before standby neither a click nor the automatic run traces. After it the locked name
    // boxes trace on a left click, once each; the last trace prints the time stamp and enables
    // printing.
    void clicksOnNames()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 3));
        QTest::keyClick(w.nameBox(1), Qt::Key_Return); // shows the automatic-trace button
        const QImage entry = w.picture();
        w.clickName(0);
        w.button("cmd_auto")->click();
        QCOMPARE(w.picture(), entry);
        QVERIFY(!w.timer()->isActive());

        QVERIFY(w.standby());
        QVERIFY(w.nameBox(1)->isReadOnly());
        const QImage ladder = w.picture();
        QTest::mouseClick(w.nameBox(1), Qt::RightButton);
        QCOMPARE(w.picture(), ladder);

        w.clickName(1);
        QVERIFY(w.picture() != ladder);
        QCOMPARE(prizeTexts(w).join(QString()).count(kColon + QStringLiteral("N1")), 1);
        const QImage once = w.picture();
        const QStringList texts = prizeTexts(w);
        w.clickName(1);
        QCOMPARE(w.picture(), once);
        QCOMPARE(prizeTexts(w), texts);

        w.clickName(2);
        QCOMPARE(stampPixels(w.picture()), 0);
        QVERIFY(!w.button("cmd_print")->isEnabled());
        w.clickName(0);
        QVERIFY(stampPixels(w.picture()) > 20);
        QVERIFY(w.button("cmd_print")->isEnabled());
    }

    // The timer traces everyone, one every 500 ms, and stops; a run started again traces
    // nobody new and stops as well.
    void automaticRun()
    {
        Window w;
        QVERIFY(automaticRunStarted(w, kLotteryMode));
        QVERIFY(w.timer()->isActive());
        QCOMPARE(w.timer()->interval(), 500);
        QVERIFY(!w.shown(w.button("cmd_auto")));
        QTRY_VERIFY_WITH_TIMEOUT(!w.timer()->isActive(), 10000);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.prizeBox(i)->text().count(kColon), 1);
        QVERIFY(w.button("cmd_print")->isEnabled());
        QVERIFY(stampPixels(w.picture()) > 20);

        const QImage ladder = w.ladderPicture();
        const QStringList texts = prizeTexts(w);
        QTest::keyClick(w.nameBox(1), Qt::Key_Return); // shows the automatic-trace button
        w.button("cmd_auto")->click();
        QVERIFY(w.timer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!w.timer()->isActive(), 10000);
        QCOMPARE(w.ladderPicture(), ladder);
        QCOMPARE(prizeTexts(w), texts);
    }

    // A question opened during the automatic run pauses it: no tick comes under the dialog, and
    // the run goes on once it is answered.
    void automaticRunPausesUnderAQuestion()
    {
        Window w;
        QVERIFY(automaticRunStarted(w, kNumberMode));
        std::optional<bool> runningUnderQuestion;
        w.ts.messenger->whileOpen = [&] { runningUnderQuestion = w.timer()->isActive(); };
        w.ts.messenger->answer = false;
        w.form->findChild<QAction *>(QStringLiteral("mnu_next"))->trigger();

        QCOMPARE(w.ts.messenger->asked.size(), 1);
        QCOMPARE(runningUnderQuestion, std::optional<bool>(false));
        QVERIFY(w.timer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!w.timer()->isActive(), 10000);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.prizeBox(i)->text().count(kColon), 1);
    }

    // Five participants with nine winners, then one fewer: the ladder is refused, so standby
    // keeps the ladder of start-up, cut to the four lines; the automatic run traces all four
    // and the lottery finishes.
    void keptLadderRunsToTheEnd()
    {
        Window w;
        QVERIFY(w.writeLines({{1, QStringLiteral("5")}, {14, QStringLiteral("9")}, {12, QStringLiteral("-1")}}));
        w.start();
        w.button("cmd_down")->click();
        QCOMPARE(w.participants(), 4);
        w.fillEntries();
        QVERIFY(w.standby());
        QCOMPARE(w.messages().size(), 2);
        const QImage ladder = w.ladderPicture();

        QTest::keyClick(w.nameBox(1), Qt::Key_Return); // shows the automatic-trace button
        w.button("cmd_auto")->click();
        QVERIFY(w.timer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!w.timer()->isActive(), 10000);
        QVERIFY(w.ladderPicture() != ladder);
        int shown = 0;
        for (int i = 0; i < kBoxCount; ++i)
            shown += w.shown(w.prizeBox(i)) ? 1 : 0;
        QCOMPARE(shown, 4);
        QVERIFY(w.button("cmd_print")->isEnabled());
    }
};

QTEST_MAIN(TraceTest)
#include "tst_trace.moc"
