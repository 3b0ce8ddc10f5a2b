// How long the handlers take at 37 participants, the most the window holds. Not part of the
// test run: build the target bench_handlers and run it, e.g. `bench_handlers -median 9`.
#include "app/form1.h"
#include "settings/settings_file.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

constexpr int kParticipants = 37;
constexpr int kWinners = 18;

// A window after start-up at 37 participants in winner mode, every name filled. The tick
// counter gives the most warm-up draws a ladder can take.
struct FullWindow
{
    TestSeams ts{7, 999};
    Form1 form{std::move(ts.seams)};

    FullWindow()
    {
        form.st.group_no = 1;
        form.st.line_top = 720;
        form.st.color_table = kColorTable;
        form.st.man_count = kParticipants;
        form.st.atari_count = kWinners;
        form.st.draw_mode = 0;
        form.st.rung_density = 1.6f; // the densest ladder
        for (int i = 0; i < Form1::BoxCount; ++i)
            form.man[i]->setText(QStringLiteral("参加者%1").arg(i + 1));
        form.man_set();
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
};

// cmd_make_Click: warm-up draws, rung placement and drawing the ladder onto the surface.
void BenchHandlers::makeLadder()
{
    FullWindow w;
    QBENCHMARK {
        w.form.cmd_make_Click();
    }
    QCOMPARE(w.form.st.ready_flag, int16_t(0));
}

// One path traced and its result written; the mark and the prize are reset between rounds.
void BenchHandlers::traceOne()
{
    FullWindow w;
    w.form.cmd_standby_Click();
    QCOMPARE(w.form.st.ready_flag, int16_t(1));
    QStringList prizes;
    for (QLineEdit *box : w.form.ans)
        prizes << box->text();
    QBENCHMARK {
        w.form.st.ladder.at(1, 0) = 0;
        for (int i = 0; i < Form1::BoxCount; ++i)
            w.form.ans[i]->setText(prizes[i]);
        w.form.man_Click(0);
    }
    QCOMPARE(w.form.st.ladder.at(1, 0), int16_t(1));
}

// cmd_standby_Click whole: checks, freezing, a new ladder, the winners, and set_up.ini saved.
// Standby can run again on the same window, which repeats all of that.
void BenchHandlers::standbyWithSave()
{
    FullWindow w;
    const QString path = w.ts.folder.filePath(QStringLiteral("set_up.ini"));
    QBENCHMARK {
        w.form.cmd_standby_Click();
    }
    QVERIFY(w.ts.messenger->shown.isEmpty());
    QCOMPARE(QFileInfo(path).size(), settings::settingsBytes(w.form.st.setup_lines).size());
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
    w.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QBENCHMARK {
        w.form.repaint();
    }
}

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchHandlers bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_handlers.moc"
