// cmd_make_Click: the winner-count guard, the flags, the draws taken, the grid and the controls.
#include "app/form1.h"
#include "app/units.h"
#include "ladder/rungs.h"
#include "support/fake_seams.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kTooManyWinners = QStringLiteral("あたり数を減らして下さい、") + QChar(0x0D)
    + QStringLiteral("上限は人数より１少ない数です。");

// So high a density that no candidate of the seeded generator places a rung.
constexpr float kNoRungs = 1e30f;

struct Window
{
    TestSeams ts;
    TestRandom *random = ts.random;
    FixedTicks *ticks = ts.ticks;
    RecordingMessenger *messages = ts.messenger;
    Form1 form{std::move(ts.seams)};

    Window(int manCount, int atariCount, int drawMode, float density, int32_t tickValue = 0)
    {
        ticks->value = tickValue;
        form.st.line_top = 720;
        form.st.man_count = int16_t(manCount);
        form.st.atari_count = int16_t(atariCount);
        form.st.draw_mode = int16_t(drawMode);
        form.st.rung_density = density;
    }
};

void fillGrid(LadderGrid &grid, int16_t value)
{
    for (int c = 0; c < LadderGrid::Columns; ++c)
        for (int r = 0; r < LadderGrid::Rows; ++r)
            grid.at(c, r) = value;
}

bool sameGrid(const LadderGrid &a, const LadderGrid &b)
{
    for (int c = 0; c < LadderGrid::Columns; ++c)
        for (int r = 0; r < LadderGrid::Rows; ++r)
            if (a.at(c, r) != b.at(c, r))
                return false;
    return true;
}

QColor buttonColor(const QPushButton *button)
{
    return button->palette().color(QPalette::Button);
}

} // namespace

class TestMake : public QObject
{
    Q_OBJECT

private slots:
    void tooManyWinnersChangesNothing_data();
    void tooManyWinnersChangesNothing();
    void guardPasses_data();
    void guardPasses();
    void drawsWarmUpThenOnePerCandidate_data();
    void drawsWarmUpThenOnePerCandidate();
    void clearsGridOnlyInsideItsRange();
    void resetsFlagsAndControls();
    void erasesOldDrawing();
    void leavesPrizesAndPrintAlone();
    void generatorIsNeverReseeded();
    void countOutsideRangeStopsHandler_data();
    void countOutsideRangeStopsHandler();
    void firstLadderOfARun();
};

void TestMake::tooManyWinnersChangesNothing_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<int>("atariCount");
    QTest::newRow("as many winners as participants") << 5 << 5;
    QTest::newRow("more winners than participants") << 5 << 9;
    QTest::newRow("2 participants, 2 winners") << 2 << 2;
    QTest::newRow("37 participants, 37 winners") << 37 << 37;
}

void TestMake::tooManyWinnersChangesNothing()
{
    QFETCH(int, manCount);
    QFETCH(int, atariCount);
    Window w(manCount, 1, 0, 2.0f, 4321);
    w.form.cmd_make_Click();
    // The state a traced lottery leaves behind.
    w.form.st.atari_count = int16_t(atariCount);
    w.form.st.ready_flag = 1;
    w.form.st.all_traced = 1;
    w.form.st.ladder.at(3, 0) = 1;
    for (QLineEdit *box : w.form.man)
        box->setReadOnly(true);
    Form1::setBackColor(w.form.cmd_standby, 0x00FF00);
    const LadderGrid grid = w.form.st.ladder;
    const QImage drawing = w.form.surface.image().copy();
    const long long draws = w.random->draws;

    QVERIFY(w.form.guarded([&] { w.form.cmd_make_Click(); }));

    QCOMPARE(w.messages->shown, QStringList{kTooManyWinners});
    QCOMPARE(w.messages->shown.first().count(QChar(0x0D)), 1);
    QVERIFY(!w.messages->shown.first().contains(QChar(0x0A)));
    QCOMPARE(w.random->draws, draws);
    QVERIFY(sameGrid(w.form.st.ladder, grid));
    QCOMPARE(w.form.surface.image(), drawing);
    QCOMPARE(w.form.st.ready_flag, 1);
    QCOMPARE(w.form.st.all_traced, 1);
    for (QLineEdit *box : w.form.man)
        QVERIFY(box->isReadOnly());
    QCOMPARE(buttonColor(w.form.cmd_standby), QColor(0, 255, 0));
}

void TestMake::guardPasses_data()
{
    QTest::addColumn<int>("drawMode");
    QTest::addColumn<int>("manCount");
    QTest::addColumn<int>("atariCount");
    QTest::newRow("winner mode, one winner fewer than participants") << 0 << 5 << 4;
    QTest::newRow("winner mode, no winners yet") << 0 << 2 << 0;
    QTest::newRow("lottery mode, as many winners") << 1 << 5 << 5;
    QTest::newRow("lottery mode, more winners") << 1 << 3 << 30;
    QTest::newRow("number mode, as many winners") << 2 << 37 << 37;
}

void TestMake::guardPasses()
{
    QFETCH(int, drawMode);
    QFETCH(int, manCount);
    QFETCH(int, atariCount);
    Window w(manCount, atariCount, drawMode, 0.0f);
    w.form.cmd_make_Click();
    QVERIFY(w.messages->shown.isEmpty());
    QCOMPARE(w.random->draws, (long long)(manCount - 1) * ladder::candidateRows(manCount));
    QCOMPARE(w.form.st.ladder.at(1, 2), 1);
}

void TestMake::drawsWarmUpThenOnePerCandidate_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("warmUp");
    QTest::newRow("2 participants, 123456 ms") << 2 << 123456 << 456;
    QTest::newRow("20 participants, 999 ms") << 20 << 999 << 999;
    QTest::newRow("21 participants, multiple of 1000") << 21 << 7000 << 0;
    QTest::newRow("37 participants, negative ticks") << 37 << -123456 << 0;
    QTest::newRow("37 participants, 1 ms") << 37 << 1 << 1;
}

// The ladder is the one a fresh generator gives after the warm-up draws are discarded.
void TestMake::drawsWarmUpThenOnePerCandidate()
{
    QFETCH(int, manCount);
    QFETCH(int, ticks);
    QFETCH(int, warmUp);
    Window w(manCount, 1, 1, 2.0f, ticks);
    w.form.cmd_make_Click();
    const int rows = ladder::candidateRows(manCount);
    QCOMPARE(w.random->draws, (long long)warmUp + (long long)(manCount - 1) * rows);

    TestRandom replay(1);
    for (int i = 0; i < warmUp; ++i)
        replay.next();
    LadderGrid expected;
    ladder::placeRungs(expected, manCount, 2.0f, replay);
    QVERIFY(sameGrid(w.form.st.ladder, expected));
}

void TestMake::clearsGridOnlyInsideItsRange()
{
    Window w(4, 1, 0, kNoRungs);
    fillGrid(w.form.st.ladder, 9);
    w.form.cmd_make_Click();
    for (int c = 0; c < LadderGrid::Columns; ++c) {
        for (int r = 0; r < LadderGrid::Rows; ++r) {
            const bool cleared = c >= 1 && c <= 37 && r <= 43;
            QCOMPARE(w.form.st.ladder.at(c, r), int16_t(cleared ? 0 : 9));
        }
    }
}

void TestMake::resetsFlagsAndControls()
{
    Window w(6, 2, 0, 2.0f);
    w.form.st.ready_flag = 1;
    w.form.st.all_traced = 1;
    for (QLineEdit *box : w.form.man)
        box->setReadOnly(true);
    for (QLineEdit *box : w.form.ans)
        box->setReadOnly(true);
    w.form.cmd_make_Click();
    QCOMPARE(w.form.st.ready_flag, 0);
    QCOMPARE(w.form.st.all_traced, 0);
    for (QLineEdit *box : w.form.man)
        QVERIFY2(!box->isReadOnly(), qPrintable(box->objectName()));
    for (QLineEdit *box : w.form.ans)
        QVERIFY(box->isReadOnly());
    QCOMPARE(buttonColor(w.form.cmd_standby), QColor(255, 0, 0));
}

void TestMake::erasesOldDrawing()
{
    Window w(3, 1, 1, kNoRungs);
    w.form.surface.setForeColor(0x0000FF);
    w.form.surface.setDrawWidth(3);
    w.form.surface.line(7500, 3000, 9000, 3000);
    w.form.cmd_make_Click();
    const QImage &image = w.form.surface.image();
    QCOMPARE(qAlpha(image.pixel(twipsToPixels(8000), twipsToPixels(3000))), 0);
    // The new ladder is drawn black at pen width 1.
    QCOMPARE(image.pixel(200, twipsToPixels(1080)), qRgba(0, 0, 0, 255));
    QCOMPARE(qAlpha(image.pixel(200, twipsToPixels(1080) + 1)), 0);
    QCOMPARE(w.form.surface.foreColor(), QColor(Qt::black));
    QCOMPARE(w.form.surface.drawWidth(), 1);
}

void TestMake::leavesPrizesAndPrintAlone()
{
    Window w(4, 1, 1, 2.0f);
    w.form.ans[2]->setText(QStringLiteral("一等"));
    w.form.cmd_print->setEnabled(true);
    w.form.cmd_make_Click();
    QCOMPARE(w.form.ans[2]->text(), QStringLiteral("一等"));
    QVERIFY(w.form.cmd_print->isEnabled());
}

// Two ladders in a row differ although both warm up with the same count.
void TestMake::generatorIsNeverReseeded()
{
    Window w(10, 1, 1, 2.0f, 1500);
    w.form.cmd_make_Click();
    const LadderGrid first = w.form.st.ladder;
    w.form.cmd_make_Click();
    QVERIFY(!sameGrid(first, w.form.st.ladder));
    QCOMPARE(w.random->draws, 2 * (500LL + 9 * 13));
}

void TestMake::countOutsideRangeStopsHandler_data()
{
    QTest::addColumn<int>("manCount");
    QTest::newRow("no participants") << 0;
    QTest::newRow("one participant") << 1;
    QTest::newRow("38 participants") << 38;
}

// A participant count no Part produces would leave the grid: the handler stops untouched.
void TestMake::countOutsideRangeStopsHandler()
{
    QFETCH(int, manCount);
    Window w(manCount, 0, 1, 0.0f, 999);
    w.form.st.ready_flag = 1;
    w.form.st.all_traced = 1;
    QVERIFY(!w.form.guarded([&] { w.form.cmd_make_Click(); }));
    QCOMPARE(w.form.st.ready_flag, 1);
    QCOMPARE(w.form.st.all_traced, 1);
    QCOMPARE(w.random->draws, 0LL);
}

// A first run: 2 participants and a ladder made before any density is chosen, so every row
// the parity rule allows (2, 4 and 6) has its rung; the buttons start-up hides are hidden.
void TestMake::firstLadderOfARun()
{
    TestSeams ts(1, 2500);
    TestRandom *random = ts.random;
    Form1 form(std::move(ts.seams));
    form.Form_Load();
    QCOMPARE(form.st.man_count, 2);
    QCOMPARE(form.st.atari_count, 1);
    QCOMPARE(form.st.line_top, 720);
    QList<int> rows;
    for (int r = 1; r < LadderGrid::Rows; ++r)
        if (form.st.ladder.at(1, r) == 1)
            rows << r;
    QCOMPARE(rows, (QList<int>{2, 4, 6}));
    QVERIFY(random->draws >= 500 + 5);
    QVERIFY(form.cmd_auto->isHidden());
    QVERIFY(form.cmd_test->isHidden());
    QVERIFY(form.cmd_make->isHidden());
    QVERIFY(!form.cmd_print->isEnabled());
    QCOMPARE(buttonColor(form.cmd_standby), QColor(255, 0, 0));
}

QTEST_MAIN(TestMake)
#include "tst_make.moc"
