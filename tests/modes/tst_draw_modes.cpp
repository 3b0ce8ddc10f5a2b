// The mode button: the cycle of modes, how each arranges the window, and the rung factor.
#include "panel/entry_form.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestDrawModes : public QObject
{
    Q_OBJECT

private slots:
    // Row k: a window opened in winner mode with five participants, then k more clicks.
    void cycle_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("prizesShown");
        QTest::addColumn<bool>("winnerControls");
        QTest::addColumn<bool>("change");
        const QColor magenta(0xFF, 0xC0, 0xFF), cyan(0xC0, 0xFF, 0xFF), yellow(0xFF, 0xFF, 0xC0);
        QTest::newRow("winner") << 0 << 0 << "あたりモード" << magenta << 0 << true << false;
        QTest::newRow("lottery") << 1 << 1 << "くじ引きモード" << cyan << 5 << false << true;
        QTest::newRow("number") << 2 << 2 << "番号モード" << yellow << 0 << false << false;
        QTest::newRow("winner again") << 3 << 0 << "あたりモード" << magenta << 0 << true << false;
        QTest::newRow("lottery again") << 4 << 1 << "くじ引きモード" << cyan << 5 << false << true;
    }

    void cycle()
    {
        QFETCH(int, clicks);
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(QColor, color);
        QFETCH(int, prizesShown);
        QFETCH(bool, winnerControls);
        QFETCH(bool, change);
        EntryForm f(5, 1, -1);
        f.form.man_set();
        f.form.cmd_mode->click();
        for (int i = 0; i < clicks; ++i)
            f.form.cmd_mode->click();

        QCOMPARE(int(f.form.st.draw_mode), mode);
        QCOMPARE(f.form.cmd_mode->text(), caption);
        QCOMPARE(f.form.cmd_mode->palette().color(QPalette::Button), color);
        QVERIFY(f.showsFirst(f.form.ans, prizesShown));
        for (QLineEdit *box : f.form.ans)
            QCOMPARE(box->isReadOnly(), mode != 1);
        QCOMPARE(f.form.lbl_atari->isVisibleTo(&f.form), winnerControls);
        QCOMPARE(f.form.cmd_up2->isVisibleTo(&f.form), winnerControls);
        QCOMPARE(f.form.cmd_dn2->isVisibleTo(&f.form), winnerControls);
        QCOMPARE(f.form.cmd_change->isVisibleTo(&f.form), change);
    }

    void prizesSurviveACycle()
    {
        EntryForm f(5, 1, 0);
        f.form.man_set();
        f.form.cmd_mode->click();
        for (int i = 0; i < 5; ++i)
            f.form.ans[i]->setText(QStringLiteral("賞品%1").arg(i));
        Form1::setTextColor(f.form.ans[2], 0x0000FF);

        f.form.cmd_mode->click();
        QCOMPARE(f.form.st.saved_prizes[3], QStringLiteral("賞品3"));
        for (QLineEdit *box : f.form.ans)
            QVERIFY(box->text().isEmpty());
        f.form.cmd_mode->click();
        f.form.cmd_mode->click();

        QCOMPARE(f.form.st.draw_mode, int16_t(1));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.form.ans[i]->text(), QStringLiteral("賞品%1").arg(i));
            QCOMPARE(f.form.ans[i]->palette().color(QPalette::Text), QColor(Qt::black));
        }
    }

    // Each call takes exactly one draw and turns it into a new factor.
    void rungDensityEveryCall()
    {
        EntryForm f(5, 1, 0);
        float previous = f.form.st.rung_density;
        for (int i = 0; i < 9; ++i) {
            const long long draws = f.ts.random->draws;
            f.form.cmd_mode->click();
            const float density = f.form.st.rung_density;
            QCOMPARE(f.ts.random->draws, draws + 1);
            QVERIFY(double(density) >= 1.6 && double(density) < 3.1);
            QVERIFY(density != previous);
            previous = density;
        }
    }

    // A mode value only an edited settings file can hold arranges nothing, and 32767 does not
    // overflow.
    void valueThatIsNoMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("after");
        QTest::newRow("3") << 3 << 4;
        QTest::newRow("-32768") << -32768 << -32767;
        QTest::newRow("32767") << 32767 << 32767;
    }

    void valueThatIsNoMode()
    {
        QFETCH(int, mode);
        QFETCH(int, after);
        EntryForm f(5, 1, int16_t(mode));
        f.form.ans[7]->setText(QStringLiteral("残る"));
        const QColor color = f.form.cmd_mode->palette().color(QPalette::Button);

        f.form.cmd_mode->click();

        QCOMPARE(int(f.form.st.draw_mode), after);
        QVERIFY(f.form.st.rung_density >= 1.6f);
        QCOMPARE(f.form.cmd_mode->text(), QStringLiteral("あたりモード"));
        QCOMPARE(f.form.cmd_mode->palette().color(QPalette::Button), color);
        QCOMPARE(f.shown(f.form.ans), Form1::BoxCount);
        QCOMPARE(f.form.ans[7]->text(), QStringLiteral("残る"));
        QVERIFY(f.form.cmd_change->isVisibleTo(&f.form));
    }

    // Until the settings are read at start-up, the window opens as on a first run.
    void opensLikeAFirstRun()
    {
        TestSeams ts;
        Form1 form(std::move(ts.seams));
        form.Form_Load();
        QCOMPARE(form.st.group_no, int16_t(1));
        QCOMPARE(form.st.man_count, int16_t(2));
        QCOMPARE(form.st.draw_mode, int16_t(1));
        QCOMPARE(form.cmd_mode->text(), QStringLiteral("くじ引きモード"));
        QCOMPARE(form.lbl_1->text(), QStringLiteral("参加\r\n2人"));
        QCOMPARE(form.lbl_atari->text(), QStringLiteral("あたり1本"));
        QVERIFY(form.cmd_auto->isHidden() && form.cmd_test->isHidden());
        QVERIFY(!form.lbl_atari->isVisibleTo(&form));
        QVERIFY(form.st.rung_density >= 1.6f);
        QVERIFY(ts.messenger->shown.isEmpty());
    }
};

QTEST_MAIN(TestDrawModes)
#include "tst_draw_modes.moc"
