// How long the handlers take at 37 participants, the most the window holds. Not part of the
// test run: build the target bench_handlers and run it, e.g. `bench_handlers -median 9`.
#include "name_preview_dialog.h"
#include "names/name_list.h"
#include "settings/layout.h"
#include "settings/settings_file.h"
#include "support/other_copy.h"
#include "support/window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QTimer>
#include <QTableView>

#include <algorithm>
#include <memory>
#include <string_view>

namespace {

constexpr int kParticipants = 37;
constexpr int kWinners = 18;
constexpr int32_t kMostWarmUp = 999;

// A window after start-up at 37 participants in winner mode, every name filled from its group.
// The tick counter gives the most warm-up draws a ladder can take, and the mode change at
// start-up draws 0, the densest ladder.
struct FullWindow : Window
{
    FullWindow()
        : Window(7, kMostWarmUp)
    {
        QMap<int, QString> lines{{settings::participantCountLine(1), QString::number(kParticipants)},
                                 {settings::winnerCountLine(1), QString::number(kWinners)},
                                 {settings::kModeLine, QStringLiteral("-1")}};
        for (int i = 0; i < kParticipants; ++i)
            lines[settings::nameLine(1, i)] = QStringLiteral("参加者%1").arg(i + 1);
        writeLines(lines);
        // Start-up's first ladder: the warm-up and 36 gaps of 24 candidates, then the mode change.
        std::vector<float> script(kMostWarmUp + 36 * 24, 0.5f);
        script.push_back(0.0f);
        auto random = std::make_unique<TestRandom>(7, script);
        ts.random = random.get();
        ts.sources.random = std::move(random);
        start();
        if (ts.random->draws != qsizetype(script.size()) || participants() != kParticipants || mode() != kWinnerMode)
            qFatal("the full window did not start as planned");
    }
};

// Lines 1..326 as a user's file holds them: seven full groups of Japanese names and memos.
settings::SetupLines fullSettings()
{
    settings::SetupLines lines;
    for (int k = 1; k <= 326; ++k)
        lines[k] = QStringLiteral("山田花子%1").arg(k);
    for (int g = 1; g <= 7; ++g) {
        lines[g] = QStringLiteral("37");
        lines[13 + g] = QStringLiteral("18");
    }
    return lines;
}

} // namespace

class BenchHandlers : public QObject
{
    Q_OBJECT

private slots:
    void makeLadder();
    void traceOne();
    void standbyWithSave();
    void readSettingsFile();
    void writeSettingsFile();
    void repaintWindow();
    void repaintFullScreen();
    void zoomStep();
    void showFrame();
    void previewLongList();
    void whileHistoryHeld_data();
    void whileHistoryHeld();
};

// cmd_make_Click: warm-up draws, rung placement and drawing the ladder onto the surface.
void BenchHandlers::makeLadder()
{
    FullWindow w;
    const QImage before = w.ladderPicture();
    QBENCHMARK {
        w.button("cmd_make")->click();
    }
    QVERIFY(w.ladderPicture() != before);
    QVERIFY(w.button("cmd_standby")->isEnabled());
}

// Milliseconds one action takes, to the nanosecond: QBENCHMARK counts whole milliseconds, too
// coarse for an action that can run only once.
template<typename Action>
double msecsOf(Action &&action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

// One path traced and its result shown, by a click on a name after standby: the mean over the 37
// participants, since each is traced once.
void BenchHandlers::traceOne()
{
    FullWindow w;
    QVERIFY(w.standby());
    double total = 0;
    for (int i = 0; i < kParticipants; ++i)
        total += msecsOf([&] { w.clickName(i); });
    QTest::setBenchmarkResult(total / kParticipants, QTest::WalltimeMilliseconds);
    QVERIFY(w.button("cmd_print")->isEnabled());
}

// cmd_standby_Click whole: checks, freezing, a new ladder, the winners, and set_up.ini saved.
// Standby runs once on a window, so every run has a window of its own.
void BenchHandlers::standbyWithSave()
{
    FullWindow w;
    QTest::setBenchmarkResult(msecsOf([&] { w.button("cmd_standby")->click(); }), QTest::WalltimeMilliseconds);
    QVERIFY(w.messages().isEmpty());
    QVERIFY(!w.button("cmd_standby")->isEnabled());
    const settings::SetupLines saved = w.fileLines();
    QCOMPARE(saved[settings::participantCountLine(1)], QString::number(kParticipants));
    QCOMPARE(saved[settings::nameLine(1, kParticipants - 1)], QStringLiteral("参加者%1").arg(kParticipants));
}

void BenchHandlers::readSettingsFile()
{
    TestSeams ts;
    const QString path = ts.folder.filePath(QStringLiteral("set_up.ini"));
    QVERIFY(settings::writeSettingsFile(path, fullSettings()).ok);
    settings::SetupLines lines;
    QBENCHMARK {
        settings::readSettingsFile(path, lines);
    }
    QCOMPARE(lines[326], fullSettings()[326]);
}

// The save alone, the part of standby that waits for the disk.
void BenchHandlers::writeSettingsFile()
{
    TestSeams ts;
    const QString path = ts.folder.filePath(QStringLiteral("set_up.ini"));
    const settings::SetupLines lines = fullSettings();
    QBENCHMARK {
        QVERIFY(settings::writeSettingsFile(path, lines).ok);
    }
}

// The whole window painted once: the surface image and all the controls.
void BenchHandlers::repaintWindow()
{
    FullWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QBENCHMARK {
        w.form->repaint();
    }
}

// A window of 37 traced paths, shown on the screen (3840 × 2160).
struct TracedWindow : FullWindow
{
    TracedWindow()
    {
        if (!standby())
            qFatal("standby did not take place");
        traceAll();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()) || !button("cmd_print")->isEnabled())
            qFatal("the traced window did not show");
    }
};

// The whole window painted once in full screen: the drawing at full-screen size and the controls.
void BenchHandlers::repaintFullScreen()
{
    TracedWindow w;
    w.entry("mnu_fullScreen")->trigger();
    QTRY_COMPARE(w.form->size(), QSize(3840, 2160));
    QBENCHMARK {
        w.form->repaint();
    }
}

// One zoom step and the repaint that shows it: the slowest of the steps up to the largest zoom the
// screen holds (200 % at 37 participants) and back down.
void BenchHandlers::zoomStep()
{
    TracedWindow w;
    double slowest = 0;
    for (const char *entry : {"mnu_zoomIn", "mnu_zoomOut"}) {
        for (int step = 0; step < 4; ++step) {
            slowest = qMax(slowest, msecsOf([&] {
                               w.entry(entry)->trigger();
                               w.form->repaint();
                           }));
        }
        QCOMPARE(w.form->width(), entry == std::string_view("mnu_zoomIn") ? 1278 : 639);
    }
    QTest::setBenchmarkResult(slowest, QTest::WalltimeMilliseconds);
}

// Paint events on a widget: how many, and the pixels they asked for.
struct PaintCounter : QObject
{
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
                pixels += qint64(rect.width()) * rect.height();
        }
        return false;
    }
    int paints = 0;
    qint64 pixels = 0;
};

// The show's frames (step and paint) every 16 ms in full screen on 3840 × 2160, 36 paths drawn and
// the 37th running: the median frame is the result; the slowest, the arrival and the paint printed.
void BenchHandlers::showFrame()
{
    FullWindow w;
    QVERIFY(w.standby());
    for (int i = 0; i < kParticipants - 1; ++i)
        w.clickName(i);
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    w.entry("mnu_fullScreen")->trigger();
    QTRY_COMPARE(w.form->size(), QSize(3840, 2160));
    QVERIFY(w.entry("mnu_show")->isChecked());
    QApplication::processEvents();
    PaintCounter counter;
    w.form->installEventFilter(&counter);
    QTimer *frames = w.control<QTimer>(QStringLiteral("tmr_show"));
    w.clickName(kParticipants - 1);
    // What the click itself changed (the name marked, the menu) is painted before the frames.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    counter.paints = 0, counter.pixels = 0;
    std::vector<double> times;
    double arrival = 0;
    while (frames->isActive() && times.size() < 1000) {
        w.ts.ticks->value += 16;
        arrival = msecsOf([&] {
            QMetaObject::invokeMethod(frames, "timeout");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        });
        if (frames->isActive())
            times.push_back(arrival);
    }
    QVERIFY(!times.empty() && w.button("cmd_print")->isEnabled());
    std::sort(times.begin(), times.end());
    qInfo("%zu frames running: median %.3f ms, the slowest %.2f ms; the arrival %.2f ms; %d paints of "
          "%.0f pixels on average (the screen has %d)", times.size(), times[times.size() / 2], times.back(),
          arrival, counter.paints, double(counter.pixels) / qMax(1, counter.paints), 3840 * 2160);
    QTest::setBenchmarkResult(times[times.size() / 2], QTest::WalltimeMilliseconds);
}

// A value of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// A list of 1 MiB, 209,715 names of four letters, from the file to the preview shown and
// painted: the time, and the memory it takes on top of what the program held (the peak,
// counted from a reset of the peak).
void BenchHandlers::previewLongList()
{
    TestSeams ts;
    const QString path = ts.folder.filePath(QStringLiteral("long.txt"));
    QByteArray bytes;
    for (int i = 0; bytes.size() + 5 <= names::kMaxNameListBytes; ++i) {
        for (int k = 0, n = i; k < 4; ++k, n /= 26)
            bytes += char('a' + n % 26);
        bytes += '\n';
    }
    QVERIFY(writeBytes(path, bytes));
    const qint64 before = statusKb("VmRSS");
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
    clearRefs.close();
    std::unique_ptr<NamePreviewDialog> dialog;
    names::NameListRead read;
    const double msecs = msecsOf([&] {
        read = names::readNameListFile(path);
        dialog = std::make_unique<NamePreviewDialog>(path, read);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->repaint();
    });
    const qint64 extra = statusKb("VmHWM") - before;
    QCOMPARE(dialog->findChild<QTableView *>(QStringLiteral("names"))->model()->rowCount(), 209715);
    qInfo("preview of %lld names (%lld bytes): %.1f ms, %.1f MB more memory%s", qint64(read.names.size()),
          qint64(bytes.size()), msecs, extra / 1024.0, peakReset ? " (peak)" : " (peak not reset: an upper bound)");
    QTest::setBenchmarkResult(msecs, QTest::WalltimeMilliseconds);
}

// How long the window waits while another copy holds the history file: opening it (tried again
// later from a timer), standby (its record given up after a moment) and one trace.
void BenchHandlers::whileHistoryHeld_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("opening") << "opening";
    QTest::newRow("standby") << "standby";
    QTest::newRow("trace") << "trace";
}

void BenchHandlers::whileHistoryHeld()
{
    QFETCH(QString, step);
    FullWindow w;
    const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
    OtherCopy other(path);
    QVERIFY(other.ok());
    if (step == "opening") {
        QVERIFY(other.hold());
        QTest::setBenchmarkResult(msecsOf([&] { w.form->openHistory(path); }), QTest::WalltimeMilliseconds);
    } else {
        w.form->openHistory(path);
        QVERIFY(w.entry("mnu_history")->isEnabled());
        QVERIFY(other.hold());
        double took = msecsOf([&] { QVERIFY(w.standby()); });
        if (step == "trace")
            took = msecsOf([&] { w.clickName(0); });
        QTest::setBenchmarkResult(took, QTest::WalltimeMilliseconds);
    }
    QVERIFY(other.release());
}

int main(int argc, char *argv[])
{
    // An offscreen screen of 3840 × 2160, for full screen and the zoom steps.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" AMIDAKUJI_SCREENS "/3840x2160.json");
    QApplication app(argc, argv);
    BenchHandlers bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_handlers.moc"
