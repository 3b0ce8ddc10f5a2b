// The draw as a show on the window: a path that runs from the name to its prize, frame by frame,
// with time from the lottery's tick source (set by the test) and frames asked for by the test.
#include "support/history_rows.h"
#include "support/recording_sound.h"
#include "support/window.h"
#include "ladder/path_run.h"

#include <QSettings>

namespace {

// A window with a recording sound output, the show turned on through its menu entry.
struct Show : Window
{
    RecordingSound *sound = nullptr;

    explicit Show(unsigned seed = 1)
        : Window(seed)
    {
        auto recording = std::make_unique<RecordingSound>();
        sound = recording.get();
        ts.seams.soundOutput = std::move(recording);
    }
    // Standby with the show on, in a mode with a participant and winner count.
    bool ready(int mode, int count, int winners = 1, bool show = true)
    {
        if (!prepare(mode, count, winners))
            return false;
        if (show)
            entry("mnu_show")->trigger();
        return standby();
    }
    QTimer *frames() const { return control<QTimer>(QStringLiteral("tmr_show")); }
    bool running() const { return frames()->isActive(); }
    // A frame of the show at a time, in milliseconds of the tick source.
    void frameAt(int32_t ms)
    {
        ts.ticks->value = ms;
        QMetaObject::invokeMethod(frames(), "timeout");
    }
    void autoTick() { QMetaObject::invokeMethod(timer(), "timeout"); }
    // The names written into the prize boxes so far.
    QStringList written() const
    {
        QStringList names;
        for (int i = 0; i < participants(); ++i) {
            const QString text = prizeBox(i)->text();
            if (shown(prizeBox(i)) && text.contains(QStringLiteral("N")))
                names << text.mid(text.lastIndexOf(QLatin1Char('N')));
        }
        names.sort();
        return names;
    }
    bool marked(int i) const
    {
        return nameBox(i)->palette().color(QPalette::Base) == colorFromBgr(kRunningNameColor);
    }
};

int duration(ladder::RunSpeed speed = ladder::RunSpeed::Normal)
{
    return ladder::runDuration(speed);
}

// The pixels where two pictures differ.
QList<QPoint> changes(const QImage &from, const QImage &to)
{
    QList<QPoint> found;
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x)
            if (from.pixel(x, y) != to.pixel(x, y))
                found << QPoint(x, y);
    return found;
}

} // namespace

Q_DECLARE_METATYPE(ladder::RunSpeed)

class TestPathShow : public QObject
{
    Q_OBJECT

private slots:
    // Rows: a speed, chosen in 速さ, and the time of the frame about the path's duration. The
    // prize is written, and the name's mark taken off, only when the path arrives.
    void prizeAtArrival_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<ladder::RunSpeed>("speed");
        QTest::addColumn<int>("fromDuration");
        const std::tuple<const char *, const char *, ladder::RunSpeed> speeds[] = {
            {"slow", "mnu_speedSlow", ladder::RunSpeed::Slow},
            {"normal", "mnu_speedNormal", ladder::RunSpeed::Normal},
            {"fast", "mnu_speedFast", ladder::RunSpeed::Fast}};
        for (const auto &[name, entry, speed] : speeds) {
            QTest::addRow("%s, one ms short", name) << QString::fromLatin1(entry) << speed << -1;
            QTest::addRow("%s, at its duration", name) << QString::fromLatin1(entry) << speed << 0;
        }
    }

    void prizeAtArrival()
    {
        QFETCH(QString, entry);
        QFETCH(ladder::RunSpeed, speed);
        QFETCH(int, fromDuration);
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        w.control<QAction>(entry)->trigger();
        QVERIFY(w.control<QAction>(entry)->isChecked());
        w.clickName(1);
        QVERIFY(w.running());
        QVERIFY(w.marked(1));
        w.frameAt(duration(speed) / 2);
        QVERIFY(w.written().isEmpty());

        w.frameAt(duration(speed) + fromDuration);
        const bool arrived = fromDuration >= 0;
        QCOMPARE(w.written(), arrived ? QStringList{QStringLiteral("N1")} : QStringList{});
        QCOMPARE(w.running(), !arrived);
        QCOMPARE(w.marked(1), !arrived);
    }

    // Rows: how far the path has run. What is drawn is part of the path the instant trace draws,
    // and the path that has arrived is exactly that path.
    void drawnIsPartOfTheResult_data()
    {
        QTest::addColumn<int>("quarters");
        QTest::newRow("a quarter") << 1;
        QTest::newRow("half") << 2;
        QTest::newRow("three quarters") << 3;
    }

    void drawnIsPartOfTheResult()
    {
        QFETCH(int, quarters);
        Window instant;
        QVERIFY(instant.prepare(kWinnerMode, 3) && instant.standby());
        instant.clickName(0);
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        const QImage ladder = w.ladderPicture();

        w.clickName(0);
        w.frameAt(duration() * quarters / 4);
        const QList<QPoint> drawn = changes(ladder, w.ladderPicture());
        w.frameAt(duration());
        const QImage whole = w.ladderPicture();
        QCOMPARE(whole, instant.ladderPicture());
        const QList<QPoint> path = changes(ladder, whole);
        QVERIFY(!drawn.isEmpty());
        QVERIFY(drawn.size() < path.size());
        for (const QPoint &pixel : drawn)
            QVERIFY2(path.contains(pixel), qPrintable(QStringLiteral("(%1, %2)").arg(pixel.x()).arg(pixel.y())));
    }

    // Rows: what ends a running path (participant 0's, a quarter run): the names whose prizes
    // are then written, and whether a path still runs.
    void skipAndQueue_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<bool>("stillRunning");
        QTest::newRow("a click on the running name") << "click 0" << QStringList{"N0"} << false;
        QTest::newRow("Space in the running name box") << "space 0" << QStringList{"N0"} << false;
        QTest::newRow("a click on another name") << "click 2" << QStringList{"N0"} << true;
        QTest::newRow("残りを全部たどる") << "all" << QStringList{"N0", "N1", "N2"} << false;
    }

    void skipAndQueue()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, written);
        QFETCH(bool, stillRunning);
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        w.clickName(0);
        w.frameAt(duration() / 4);
        if (action == QStringLiteral("click 0"))
            w.clickName(0);
        else if (action == QStringLiteral("space 0"))
            QTest::keyClick(w.nameBox(0), Qt::Key_Space);
        else if (action == QStringLiteral("click 2"))
            w.clickName(2);
        else
            w.entry("mnu_traceAll")->trigger();
        QCOMPARE(w.written(), written);
        QCOMPARE(w.running(), stillRunning);
        QCOMPARE(w.marked(0), false);
        QCOMPARE(w.marked(2), stillRunning);
        QCOMPARE(w.button("cmd_print")->isEnabled(), written.size() == 3);
    }

    // The automatic run starts a path, waits for it to arrive, then keeps its beat; a tick while
    // a path runs starts nothing.
    void autoRunWaitsForEachArrival()
    {
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        QTest::keyClick(w.nameBox(1), Qt::Key_Return);
        w.button("cmd_auto")->click();
        QVERIFY(w.timer()->isActive());
        const int beat = w.timer()->interval();
        int32_t now = 0;
        for (int i = 0; i < 3; ++i) {
            w.autoTick();
            QVERIFY(w.running());
            QVERIFY(w.marked(i));
            QVERIFY(!w.timer()->isActive());
            w.autoTick();
            QCOMPARE(w.written().size(), i);
            w.frameAt(now += duration());
            QCOMPARE(w.written().size(), i + 1);
            QVERIFY(!w.running());
            QCOMPARE(w.timer()->isActive(), i < 2);
            QCOMPARE(w.timer()->interval(), beat);
        }
        QVERIFY(w.button("cmd_print")->isEnabled());
    }

    // Rows: a control or menu entry, and whether it takes input while the last path runs and
    // once it has arrived.
    void locksWhileRunning_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("whileRunning");
        QTest::addColumn<bool>("afterwards");
        QTest::newRow("印刷") << "cmd_print" << false << true;
        QTest::newRow("準備完了") << "cmd_standby" << false << false;
        QTest::newRow("＋ participants") << "cmd_up" << false << false;
        QTest::newRow("＋ group") << "cmd_up3" << false << false;
        QTest::newRow("結果をコピー") << "mnu_copy" << false << true;
        QTest::newRow("画像として保存") << "mnu_save" << false << true;
        QTest::newRow("はずれの人で次の抽選") << "mnu_round" << false << true;
        QTest::newRow("次の抽選") << "mnu_next" << true << true;
        QTest::newRow("残りを全部たどる") << "mnu_traceAll" << true << false;
    }

    void locksWhileRunning()
    {
        QFETCH(QString, name);
        QFETCH(bool, whileRunning);
        QFETCH(bool, afterwards);
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3));
        for (int i = 0; i < 2; ++i) {
            w.clickName(i);
            w.clickName(i);
        }
        w.clickName(2);
        w.frameAt(duration() / 2);
        QVERIFY(w.running());
        const auto enabled = [&] {
            if (name.startsWith(QStringLiteral("mnu_")))
                return w.control<QAction>(name)->isEnabled();
            return w.control<QWidget>(name)->isEnabled();
        };
        QCOMPARE(enabled(), whileRunning);
        w.frameAt(duration());
        QVERIFY(!w.running());
        QCOMPARE(enabled(), afterwards);
    }

    // Rows: a mode and a winner count. Each path ticks for its rungs as it runs and ends on a
    // chime, or a fanfare for あたり in winner mode; a path ended early ticks no more.
    void sounds_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("winners");
        QTest::addColumn<int>("fanfares");
        QTest::newRow("winner mode, one winner") << kWinnerMode << 1 << 1;
        QTest::newRow("winner mode, all but one win") << kWinnerMode << 3 << 3;
        QTest::newRow("lottery mode") << kLotteryMode << 1 << 0;
        QTest::newRow("number mode") << kNumberMode << 1 << 0;
    }

    void sounds()
    {
        QFETCH(int, mode);
        QFETCH(int, winners);
        QFETCH(int, fanfares);
        Show w;
        QVERIFY(w.ready(mode, 4, winners));
        int32_t now = 0;
        for (int i = 0; i < 4; ++i) {
            w.clickName(i);
            for (int step = 0; step < duration(); step += 16)
                w.frameAt(now + step);
            w.frameAt(now += duration());
        }
        const QList<ShowSound> &played = w.sound->played;
        QCOMPARE(played.count(ShowSound::Fanfare), fanfares);
        QCOMPARE(played.count(ShowSound::Chime), 4 - fanfares);
        QVERIFY(played.count(ShowSound::Tick) > 0);
        QVERIFY(played.last() != ShowSound::Tick);

        // A path skipped at its start: its arrival sound alone.
        Show skipped;
        QVERIFY(skipped.ready(mode, 4, winners));
        skipped.clickName(0);
        skipped.clickName(0);
        QCOMPARE(skipped.sound->played.size(), 1);
        QVERIFY(skipped.sound->played.first() != ShowSound::Tick);
    }

    // Rows: the path running (the first of two, or the last with the other traced before) and
    // what happens then. The history takes the result, and the lottery its completion, only when
    // the path arrives; 次の抽選 ends a running path first, and asks only while others are left.
    void historyAtArrival_data()
    {
        QTest::addColumn<bool>("last");
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("traced");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("asked");
        QTest::newRow("the first path half way") << false << "half" << 0 << "記録中" << 0;
        QTest::newRow("the first path arrived") << false << "arrive" << 1 << "記録中" << 0;
        QTest::newRow("the last path half way") << true << "half" << 1 << "記録中" << 0;
        QTest::newRow("the last path arrived") << true << "arrive" << 2 << "完了" << 0;
        QTest::newRow("次の抽選 while the first path runs") << false << "next" << 1 << "中断" << 1;
        QTest::newRow("次の抽選 while the last path runs") << true << "next" << 2 << "完了" << 0;
    }

    void historyAtArrival()
    {
        QFETCH(bool, last);
        QFETCH(QString, then);
        QFETCH(int, traced);
        QFETCH(QString, state);
        QFETCH(int, asked);
        Show w;
        const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
        w.start().openHistory(path);
        QVERIFY(w.ready(kWinnerMode, 2));
        if (last) {
            w.clickName(0);
            w.clickName(0);
        }
        w.clickName(last ? 1 : 0);
        w.frameAt(then == QStringLiteral("arrive") ? duration() : duration() / 2);
        if (then == QStringLiteral("next"))
            w.entry("mnu_next")->trigger();
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

    // Without the show (a window's default) a click traces at once, without a sound.
    void instantWithoutTheShow()
    {
        Show w;
        QVERIFY(w.ready(kWinnerMode, 3, 1, false));
        QVERIFY(!w.entry("mnu_show")->isChecked());
        w.clickName(0);
        QCOMPARE(w.written(), QStringList{QStringLiteral("N0")});
        QVERIFY(!w.running());
        QVERIFY(w.sound->played.isEmpty());
    }

    // 演出 and 速さ are remembered per user for the next window, never in set_up.ini; the show
    // is on in full screen by default, and each view keeps its own choice.
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

        second.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(second.form.get()));
        second.entry("mnu_fullScreen")->trigger();
        QTRY_VERIFY(second.form->isFullScreen());
        QVERIFY(second.entry("mnu_show")->isChecked());
        second.entry("mnu_show")->trigger();
        QVERIFY(!second.entry("mnu_show")->isChecked());
        second.entry("mnu_fullScreen")->trigger();
        QTRY_VERIFY(!second.form->isFullScreen());
        QVERIFY(!second.entry("mnu_show")->isChecked());

        Window third;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
        third.start();
        QVERIFY(!third.entry("mnu_show")->isChecked());
        third.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(third.form.get()));
        third.entry("mnu_fullScreen")->trigger();
        QTRY_VERIFY(third.form->isFullScreen());
        QVERIFY(!third.entry("mnu_show")->isChecked());
    }
};

QTEST_MAIN(TestPathShow)
#include "tst_path_show.moc"
