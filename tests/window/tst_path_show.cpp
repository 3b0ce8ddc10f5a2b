// The draw as a show on the window, with time from the lottery's tick source and frames the test asks for.
#include "support/history_rows.h"
#include "support/window.h"
#include "ladder/path_run.h"

#include <QSettings>

namespace {

// A sound output that keeps the sounds asked for, in order, instead of playing them.
struct RecordingSound : SoundOutput
{
    void play(ShowSound sound) override { played << sound; }
    QList<ShowSound> played;
};

struct Show : Window
{
    RecordingSound *sound = nullptr;

    Show()
    {
        auto recording = std::make_unique<RecordingSound>();
        sound = recording.get();
        ts.seams.soundOutput = std::move(recording);
    }
    // Standby in a mode with a participant and winner count, the show turned on through its entry.
    bool ready(int mode, int count, int winners = 1, bool show = true)
    {
        if (!prepare(mode, count, winners))
            return false;
        if (show)
            entry("mnu_show")->trigger();
        return standby();
    }
    bool running() const { return control<QTimer>(QStringLiteral("tmr_show"))->isActive(); }
    // A frame of the show at a time, in milliseconds of the tick source.
    void frameAt(int32_t ms)
    {
        ts.ticks->value = ms;
        QMetaObject::invokeMethod(control<QTimer>(QStringLiteral("tmr_show")), "timeout");
    }
    // The names written into the prize boxes so far, sorted.
    QStringList written() const
    {
        QStringList names;
        for (int i = 0; i < participants(); ++i)
            if (shown(prizeBox(i)) && prizeBox(i)->text().contains(QLatin1Char('N')))
                names << prizeBox(i)->text().mid(prizeBox(i)->text().lastIndexOf(QLatin1Char('N')));
        names.sort();
        return names;
    }
    bool marked(int i) const
    {
        return nameBox(i)->palette().color(QPalette::Base) == colorFromBgr(kRunningNameColor);
    }
};

const int kRun = ladder::runDuration(ladder::RunSpeed::Normal);

// A row of endings(): the paths skipped before the one that runs, what happens half way, the
// history's rows traced (and prizes written) then, whether a path runs, the history's state, the
// questions asked, and the controls enabled (1) in the order endings() lists them ("": unchecked).
struct Ending
{
    int skipped;
    QString action;
    int traced;
    bool running;
    QString state;
    int asked;
    QString enabled;
};

// The window shown and taken in or out of full screen through its menu entry.
bool toggleFullScreen(Window &w)
{
    const bool was = w.form->isFullScreen();
    w.form->show();
    if (!QTest::qWaitForWindowExposed(w.form.get()))
        return false;
    w.entry("mnu_fullScreen")->trigger();
    return QTest::qWaitFor([&] { return w.form->isFullScreen() != was; });
}

} // namespace

Q_DECLARE_METATYPE(ladder::RunSpeed)
Q_DECLARE_METATYPE(Ending)

class TestPathShow : public QObject
{
    Q_OBJECT

private slots:
    // Rows: a speed chosen in 速さ, and the last frame one ms short of its duration or at it.
    void prizeAtArrival_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<ladder::RunSpeed>("speed");
        QTest::addColumn<int>("fromDuration");
        const std::pair<const char *, ladder::RunSpeed> speeds[] = {{"mnu_speedSlow", ladder::RunSpeed::Slow},
            {"mnu_speedNormal", ladder::RunSpeed::Normal}, {"mnu_speedFast", ladder::RunSpeed::Fast}};
        for (const auto &[entry, speed] : speeds)
            for (int offset : {-1, 0})
                QTest::addRow("%s, %+d ms", entry, offset) << QString::fromLatin1(entry) << speed << offset;
    }

    // The name marked and the path drawn part by part; the prize written and the mark taken off at
    // arrival, the picture then that of the instant trace, which (the show off) is silent and at once.
    void prizeAtArrival()
    {
        QFETCH(QString, entry);
        QFETCH(ladder::RunSpeed, speed);
        QFETCH(int, fromDuration);
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        w.control<QAction>(entry)->trigger();
        QVERIFY(w.control<QAction>(entry)->isChecked());
        const QImage ladder = w.ladderPicture();
        w.clickName(1);
        QVERIFY(w.running() && w.marked(1));
        w.frameAt(ladder::runDuration(speed) / 2);
        QVERIFY(w.written().isEmpty());
        const QImage half = w.ladderPicture();

        w.frameAt(ladder::runDuration(speed) + fromDuration);
        const bool arrived = fromDuration >= 0;
        QCOMPARE(w.written(), arrived ? QStringList{QStringLiteral("N1")} : QStringList{});
        QCOMPARE(w.running(), !arrived);
        QCOMPARE(w.marked(1), !arrived);
        if (!arrived)
            return;
        Show instant;
        QVERIFY(instant.ready(kWinnerMode, 3, 1, false));
        QVERIFY(!instant.entry("mnu_show")->isChecked());
        instant.clickName(1);
        QCOMPARE(instant.written(), QStringList{QStringLiteral("N1")});
        QVERIFY(!instant.running() && instant.sound->played.isEmpty());
        const QImage whole = instant.ladderPicture();
        QCOMPARE(w.ladderPicture(), whole);
        int drawn = 0, path = 0, outside = 0; // pixels changed half way, at the end, half way only
        for (int y = 0; y < ladder.height(); ++y) {
            for (int x = 0; x < ladder.width(); ++x) {
                const bool inHalf = half.pixel(x, y) != ladder.pixel(x, y), inPath = whole.pixel(x, y) != ladder.pixel(x, y);
                drawn += inHalf, path += inPath, outside += inHalf && !inPath;
            }
        }
        QVERIFY(drawn > 0 && drawn < path && outside == 0);
    }

    // Rows: a mode and a winner count (winner mode: the fewest and the most).
    void autoRun_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("winners");
        QTest::addColumn<int>("fanfares");
        QTest::newRow("winner mode, one winner") << kWinnerMode << 1 << 1;
        QTest::newRow("winner mode, all but one win") << kWinnerMode << 3 << 3;
        QTest::newRow("lottery mode") << kLotteryMode << 1 << 0;
        QTest::newRow("number mode") << kNumberMode << 1 << 0;
    }

    // The automatic run starts a path, waits for it to arrive (a tick meanwhile starts nothing),
    // then keeps its beat. Each path ticks as it runs, then ends on a chime, or a fanfare for a win.
    void autoRun()
    {
        QFETCH(int, mode);
        QFETCH(int, winners);
        QFETCH(int, fanfares);
        Show w;
        QVERIFY(w.ready(mode, 4, winners));
        QTest::keyClick(w.nameBox(1), Qt::Key_Return);
        w.button("cmd_auto")->click();
        const int beat = w.timer()->interval();
        const QList<ShowSound> &played = w.sound->played;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(w.timer()->isActive());
            QMetaObject::invokeMethod(w.timer(), "timeout");
            QVERIFY(w.running());
            QVERIFY(w.marked(i));
            QVERIFY(!w.timer()->isActive());
            QMetaObject::invokeMethod(w.timer(), "timeout");
            for (int step = 0; step < kRun; step += 16)
                w.frameAt(i * kRun + step);
            QCOMPARE(w.written().size(), i);
            w.frameAt((i + 1) * kRun);
            QCOMPARE(w.written().size(), i + 1);
            QVERIFY(!w.running());
            QCOMPARE(w.timer()->interval(), beat);
            QCOMPARE(played.size() - played.count(ShowSound::Tick), i + 1);
            QVERIFY(played.last() != ShowSound::Tick);
        }
        QVERIFY(!w.timer()->isActive());
        QVERIFY(w.button("cmd_print")->isEnabled());
        QCOMPARE(played.count(ShowSound::Fanfare), fanfares);
        QCOMPARE(played.count(ShowSound::Chime), 4 - fanfares);
        QVERIFY(played.count(ShowSound::Tick) > 0);
    }

    void endings_data()
    {
        QTest::addColumn<Ending>("row");
        QTest::newRow("the last path half way") << Ending{2, "", 2, true, "記録中", 0, "00000011"};
        QTest::newRow("the last path arrived") << Ending{2, "arrive", 3, false, "完了", 0, "10011110"};
        QTest::newRow("a click on the running name") << Ending{0, "click 0", 1, false, "記録中", 0, ""};
        QTest::newRow("Space in the running name box") << Ending{0, "space 0", 1, false, "記録中", 0, ""};
        QTest::newRow("a click on another name") << Ending{0, "click 2", 1, true, "記録中", 0, ""};
        QTest::newRow("残りを全部たどる") << Ending{0, "all", 3, false, "完了", 0, "10011110"};
        QTest::newRow("次の抽選 while the first path runs") << Ending{0, "next", 1, false, "中断", 1, ""};
        QTest::newRow("次の抽選 while the last path runs") << Ending{2, "next", 3, false, "完了", 0, ""};
    }

    // A path ended early is written at once with its arrival sound and no more ticks; the history
    // takes each result, and its completion, only at arrival; 次の抽選 ends a running path first
    // and asks only while others are left; while a path runs only 次の抽選 and 残りを全部たどる act.
    void endings()
    {
        QFETCH(Ending, row);
        const auto [skipped, action, traced, running, state, asked, enabled] = row;
        Show w;
        const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
        w.start().openHistory(path);
        QVERIFY(w.ready(kWinnerMode, 3));
        for (int i = 0; i < skipped; ++i) {
            w.clickName(i);
            w.clickName(i);
        }
        w.clickName(skipped);
        w.frameAt(kRun / 2);
        const qsizetype sounds = w.sound->played.size();
        if (action == QStringLiteral("arrive"))
            w.frameAt(kRun);
        else if (action.startsWith(QStringLiteral("click")))
            w.clickName(action.back().digitValue());
        else if (action == QStringLiteral("space 0"))
            QTest::keyClick(w.nameBox(0), Qt::Key_Space);
        else if (!action.isEmpty())
            w.entry(action == QStringLiteral("all") ? "mnu_traceAll" : "mnu_next")->trigger();
        QCOMPARE(w.running(), running);
        QVERIFY(!w.marked(0));
        QCOMPARE(w.marked(2), running);
        if (action != QStringLiteral("next"))
            QCOMPARE(w.written().size(), traced);
        if (!action.isEmpty() && action != QStringLiteral("arrive")) {
            QCOMPARE(w.sound->played.size(), sounds + 1);
            QVERIFY(w.sound->played.last() != ShowSound::Tick);
        }
        QString states;
        for (const char *name : {"cmd_print", "cmd_standby", "cmd_up", "mnu_copy", "mnu_save", "mnu_round",
                                 "mnu_next", "mnu_traceAll"})
            states += w.control<QObject>(QLatin1String(name))->property("enabled").toBool() ? '1' : '0';
        if (!enabled.isEmpty())
            QCOMPARE(states, enabled);
        History history;
        QVERIFY(history.open(path));
        const QList<HistoryLottery> all = withRows(history);
        QCOMPARE(all.size(), 1);
        QCOMPARE(std::count_if(all[0].rows.begin(), all[0].rows.end(), [](const HistoryRow &row) { return row.traced; }),
                 traced);
        QCOMPARE(all[0].state, state);
        QCOMPARE(all[0].finishedAt.isValid(), state == QStringLiteral("完了"));
        QCOMPARE(w.ts.messenger->asked.size(), asked);
    }

    // 演出 and 速さ are remembered per user, never in set_up.ini; the show is on in full screen by
    // default, and each view keeps its own choice.
    void rememberedPerView()
    {
        Window first;
        QVERIFY(first.prepare(kWinnerMode, 3) && first.standby());
        const QByteArray setup = first.written();
        first.entry("mnu_show")->trigger();
        first.entry("mnu_speedSlow")->trigger();
        QCOMPARE(first.written(), setup);
        const QString folder = first.ts.folder.path();

        Window second;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
        second.start();
        QVERIFY(second.entry("mnu_show")->isChecked());
        QVERIFY(second.entry("mnu_speedSlow")->isChecked());
        second.entry("mnu_show")->trigger();
        QVERIFY(toggleFullScreen(second));
        QVERIFY(second.entry("mnu_show")->isChecked());
        second.entry("mnu_show")->trigger();
        QVERIFY(toggleFullScreen(second));
        QVERIFY(!second.entry("mnu_show")->isChecked());

        Window third;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
        third.start();
        QVERIFY(toggleFullScreen(third));
        QVERIFY(!third.entry("mnu_show")->isChecked());
    }
};

QTEST_MAIN(TestPathShow)
#include "tst_path_show.moc"
