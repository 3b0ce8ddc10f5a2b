// Tracing by click and by timer on a real Form1 with seeded ladders.
#include "app/form1.h"
#include "app/units.h"
#include "support/fake_seams.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kColon = QStringLiteral(" \uFF1A");

// A window after standby: n participants named N0.., prizes P0.., a seeded ladder, ready to trace.
std::unique_ptr<Form1> readyForm(int count, unsigned seed = 1, bool withRungs = true)
{
    TestSeams ts(seed);
    auto form = std::make_unique<Form1>(std::move(ts.seams));
    form->st.man_count = int16_t(count);
    form->st.atari_count = 1;
    form->st.line_top = 720;
    form->st.color_table = kColorTable;
    form->st.rung_density = withRungs ? 2.0f : 1e9f;
    form->cmd_make_Click();
    if (!withRungs)
        form->surface.clear();
    for (int i = 0; i < count; ++i) {
        form->man[i]->setText(QStringLiteral("N%1").arg(i));
        form->ans[i]->setText(QStringLiteral("P%1").arg(i));
    }
    form->st.ready_flag = 1;
    return form;
}

// The line each starting line ends on, found by letting every rung, row by row, swap the two
// participants standing on its lines.
QList<int> endLines(const LadderGrid &grid, int count)
{
    QList<int> standing(count + 1);
    for (int line = 1; line <= count; ++line)
        standing[line] = line;
    for (int row = 1; row < LadderGrid::Rows; ++row)
        for (int gap = 1; gap < count; ++gap)
            if (grid.at(gap, row) == 1)
                std::swap(standing[gap], standing[gap + 1]);
    QList<int> ends(count + 1);
    for (int line = 1; line <= count; ++line)
        ends[standing[line]] = line;
    return ends;
}

QColor pixelAt(const QImage &image, double xTwips, double yTwips)
{
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(int(twipsToPixels(xTwips) * dpr), int(twipsToPixels(yTwips) * dpr));
}

// Pixels of the time stamp's blue in the strip above the first prize box.
int stampPixels(const QImage &image)
{
    const qreal dpr = image.devicePixelRatio();
    int found = 0;
    for (int y = int(twipsToPixels(720) * dpr); y < int(twipsToPixels(1060) * dpr); ++y)
        for (int x = int(twipsToPixels(7250) * dpr); x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            found += qAlpha(p) > 0 && qBlue(p) > 0 && qRed(p) == 0 && qGreen(p) == 0;
        }
    return found;
}

} // namespace

class TraceTest : public QObject
{
    Q_OBJECT

private slots:
    void tracesEveryoneToTheGridsPermutation_data();
    void tracesEveryoneToTheGridsPermutation();
    void participantZeroDrawsInLightRed();
    void resultTextInTheSameRowWithoutRungs_data();
    void resultTextInTheSameRowWithoutRungs();
    void secondClickChangesNothing();
    void nothingHappensBeforeStandby();
    void timeStampOnlyAfterTheLastTrace();
    void clickOnLockedNameBoxTraces();
    void automaticRun();
    void clickDuringTheRun();
    void restartedRunDrawsNothingNew();
    void timerTicksDriveTheRun();
};

void TraceTest::tracesEveryoneToTheGridsPermutation_data()
{
    QTest::addColumn<int>("count");
    for (int count = 2; count <= 37; ++count)
        QTest::addRow("%d participants", count) << count;
}

void TraceTest::tracesEveryoneToTheGridsPermutation()
{
    QFETCH(int, count);
    auto form = readyForm(count, unsigned(count));
    const QList<int> ends = endLines(form->st.ladder, count);
    const QImage ladderOnly = form->surface.image().copy();

    for (int i = 0; i < count; ++i) {
        form->man_Click(i);
        const QImage &image = form->surface.image();
        const QColor colour = colorFromBgr(tableColor(kColorTable, i));

        // The path's pixels along its own walk, and every rung it takes was black before.
        int line = i + 1;
        QCOMPARE(pixelAt(image, 1500, 720 + 360 * line), colour);
        for (int row = 1; row <= 27; ++row) {
            QCOMPARE(pixelAt(image, 1500 + 200 * row, 720 + 360 * line), colour);
            const int cell = form->st.ladder.at(line, row);
            if (cell == 0)
                continue;
            const double rungMiddle = 720 + 360 * line + (cell == 1 ? 180 : -180);
            QCOMPARE(pixelAt(ladderOnly, 1600 + 200 * row, rungMiddle), QColor(Qt::black));
            QCOMPARE(pixelAt(image, 1600 + 200 * row, rungMiddle), colour);
            line += cell == 1 ? 1 : -1;
        }
        QCOMPARE(line, ends[i + 1]);
        QCOMPARE(pixelAt(image, 7060, 720 + 360 * line).alpha(), 0);
        QCOMPARE(form->ans[line - 1]->text(), QStringLiteral("P%1").arg(line - 1) + kColon + QStringLiteral("N%1").arg(i));
        QCOMPARE(form->st.ladder.at(i + 1, 0), int16_t(1));
    }

    // Every prize box was reached exactly once.
    for (int box = 0; box < count; ++box)
        QCOMPARE(form->ans[box]->text().count(kColon), 1);
    QCOMPARE(form->st.all_traced, int16_t(1));
}

void TraceTest::participantZeroDrawsInLightRed()
{
    auto form = readyForm(37, 5, false);
    form->man_Click(0);
    QCOMPARE(pixelAt(form->surface.image(), 4000, 1080), QColor(255, 128, 128));
    QCOMPARE(form->surface.drawWidth(), 3);
    form->man_Click(36);
    QCOMPARE(pixelAt(form->surface.image(), 4000, 720 + 360 * 37), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(form->surface.drawWidth(), 5);
}

void TraceTest::resultTextInTheSameRowWithoutRungs_data()
{
    QTest::addColumn<QString>("prize");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");

    QTest::newRow("winner") << u"あたり"_qs << u"A"_qs << u"あたり ：A"_qs;
    QTest::newRow("empty prize box") << QString() << u"A"_qs << u" ：A"_qs;
    QTest::newRow("empty name") << u"あたり"_qs << QString() << u"あたり ："_qs;
    QTest::newRow("longer than the typing limit") << u"１２３４５６７８９０１２"_qs << u"ＡＢＣＤＥＦＧＨＩＪＫＬ"_qs
                                                  << u"１２３４５６７８９０１２ ：ＡＢＣＤＥＦＧＨＩＪＫＬ"_qs;
}

void TraceTest::resultTextInTheSameRowWithoutRungs()
{
    QFETCH(QString, prize);
    QFETCH(QString, name);
    QFETCH(QString, result);

    auto form = readyForm(3, 1, false);
    form->man[1]->setText(name);
    form->ans[1]->setText(prize);
    form->ans[1]->hide();
    form->man_Click(1);
    QCOMPARE(form->ans[1]->text(), result);
    QVERIFY(!form->ans[1]->isHidden());
    QCOMPARE(form->ans[0]->text(), u"P0"_qs);
    QCOMPARE(form->ans[2]->text(), u"P2"_qs);
}

void TraceTest::secondClickChangesNothing()
{
    auto form = readyForm(4, 9);
    form->man_Click(2);
    const QImage image = form->surface.image().copy();
    QStringList prizes;
    for (QLineEdit *box : form->ans)
        prizes << box->text();
    form->surface.setForeColor(0x000000);
    form->surface.setDrawWidth(7);

    form->man_Click(2);
    QCOMPARE(form->surface.image(), image);
    for (int i = 0; i < Form1::BoxCount; ++i)
        QCOMPARE(form->ans[i]->text(), prizes[i]);
    QCOMPARE(form->surface.foreColor(), QColor(Qt::black));
    QCOMPARE(form->surface.drawWidth(), 7);
    QCOMPARE(form->st.all_traced, int16_t(0));
}

void TraceTest::nothingHappensBeforeStandby()
{
    auto form = readyForm(3);
    form->st.ready_flag = 0;
    const QImage image = form->surface.image().copy();

    form->man_Click(0);
    form->cmd_auto_Click();
    QCOMPARE(form->surface.image(), image);
    QCOMPARE(form->ans[0]->text(), u"P0"_qs);
    QCOMPARE(form->st.ladder.at(1, 0), int16_t(0));
    QVERIFY(!form->tmr_1->isActive());
    QVERIFY(!form->cmd_auto->isHidden());
}

void TraceTest::timeStampOnlyAfterTheLastTrace()
{
    auto form = readyForm(3, 4);
    form->man_Click(2);
    form->man_Click(0);
    QCOMPARE(stampPixels(form->surface.image()), 0);
    QVERIFY(!form->cmd_print->isEnabled());
    QCOMPARE(form->st.all_traced, int16_t(0));

    form->man_Click(1);
    QVERIFY(stampPixels(form->surface.image()) > 20);
    QVERIFY(form->cmd_print->isEnabled());
    QCOMPARE(form->st.all_traced, int16_t(1));
    QCOMPARE(form->surface.foreColor(), QColor(Qt::blue));
    QCOMPARE(form->surface.font().pointSizeF(), 12.0);
    QVERIFY(form->surface.font().bold());
}

void TraceTest::clickOnLockedNameBoxTraces()
{
    auto form = readyForm(3);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    for (QLineEdit *box : form->man)
        box->setReadOnly(true);

    QTest::mouseClick(form->man[1], Qt::RightButton);
    QCOMPARE(form->st.ladder.at(2, 0), int16_t(0));
    QTest::mouseClick(form->man[1], Qt::LeftButton);
    QCOMPARE(form->st.trace_index, int16_t(1));
    QCOMPARE(form->st.ladder.at(2, 0), int16_t(1));
    QCOMPARE(form->ans[0]->text().count(kColon) + form->ans[1]->text().count(kColon)
                 + form->ans[2]->text().count(kColon), 1);
}

void TraceTest::automaticRun()
{
    auto form = readyForm(3, 2);
    form->cmd_auto_Click();
    QVERIFY(form->tmr_1->isActive());
    QCOMPARE(form->tmr_1->interval(), 500);
    QCOMPARE(form->st.trace_index, int16_t(0));
    QVERIFY(form->cmd_auto->isHidden());

    for (int tick = 0; tick < 3; ++tick) {
        QCOMPARE(form->st.ladder.at(tick + 1, 0), int16_t(0));
        form->tmr_1_Timer();
        QCOMPARE(form->st.ladder.at(tick + 1, 0), int16_t(1));
        QCOMPARE(form->tmr_1->isActive(), tick < 2);
    }
    QCOMPARE(form->st.trace_index, int16_t(3));
    QCOMPARE(form->st.all_traced, int16_t(1));
    QVERIFY(form->cmd_print->isEnabled());
}

void TraceTest::clickDuringTheRun()
{
    auto form = readyForm(3, 3);
    form->cmd_auto_Click();
    form->tmr_1_Timer();
    form->man_Click(2);
    QCOMPARE(form->st.trace_index, int16_t(2));
    const QImage image = form->surface.image().copy();

    // The tick tries participant 2 again, draws nothing, and ends the run.
    form->tmr_1_Timer();
    QCOMPARE(form->surface.image(), image);
    QVERIFY(!form->tmr_1->isActive());
    QCOMPARE(form->st.trace_index, int16_t(3));
    QCOMPARE(form->st.ladder.at(2, 0), int16_t(0));
    QCOMPARE(form->st.all_traced, int16_t(0));
}

void TraceTest::restartedRunDrawsNothingNew()
{
    auto form = readyForm(3, 6);
    form->cmd_auto_Click();
    for (int tick = 0; tick < 3; ++tick)
        form->tmr_1_Timer();
    const QImage image = form->surface.image().copy();

    form->cmd_auto->show();
    form->cmd_auto_Click();
    QCOMPARE(form->st.trace_index, int16_t(0));
    for (int tick = 0; tick < 3; ++tick) {
        QVERIFY(form->tmr_1->isActive());
        form->tmr_1_Timer();
    }
    QVERIFY(!form->tmr_1->isActive());
    QCOMPARE(form->st.trace_index, int16_t(3));
    QCOMPARE(form->surface.image(), image);
}

void TraceTest::timerTicksDriveTheRun()
{
    auto form = readyForm(4, 8);
    form->cmd_auto_Click();
    form->tmr_1->setInterval(1); // the same run, faster
    QTRY_VERIFY(!form->tmr_1->isActive());
    QCOMPARE(form->st.trace_index, int16_t(4));
    QCOMPARE(form->st.all_traced, int16_t(1));
}

QTEST_MAIN(TraceTest)
#include "tst_trace.moc"
