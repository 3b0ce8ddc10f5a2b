// The phase of a lottery as rules: which entry point leads to which phase, and what standby saves.
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

namespace {

constexpr int kParticipants = 4;

Entries boxes(bool complete)
{
    Entries entries;
    for (int i = 0; i < kParticipants - (complete ? 0 : 1); ++i)
        entries.names[i] = QStringLiteral("N%1").arg(i);
    return entries;
}

// Groups 1 and 2 open with the same counts in winner mode.
settings::SetupLines opening()
{
    Lines lines = counts(kParticipants, 1, modes::kWinnerMode);
    lines[settings::participantCountLine(2)] = QString::number(kParticipants);
    lines[settings::winnerCountLine(2)] = QStringLiteral("1");
    return setupLines(lines);
}

bool failedSave(const settings::SetupLines &)
{
    return false;
}

} // namespace

class TestPhase : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the actions, one letter each, and the phase after each (E entry, R ready, P a path
    // running, F finished).
    // x standby refused (a name
    // missing), s standby, t a click on the first participant not yet traced, c a click on
    // participant 0, a one tick of the automatic run, m a new ladder, L the next lottery, N the
    // next round, g a group change, G a group change whose save fails, p a path started for the
    // first participant not yet traced, k the running path arrived.
    void transitions_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("phases");
        QTest::newRow("refused standby stays in entry") << "xx" << "EE";
        QTest::newRow("standby after a refusal") << "xs" << "ER";
        QTest::newRow("a click before standby changes nothing") << "cs" << "ER";
        QTest::newRow("one trace short of all stays ready") << "sttt" << "RRRR";
        QTest::newRow("the last trace finishes") << "stttt" << "RRRRF";
        QTest::newRow("a traced participant again changes nothing") << "stcc" << "RRRR";
        QTest::newRow("automatic run: its last tick finishes") << "saaaa" << "RRRRF";
        QTest::newRow("clicks, then a run that passes the traced ones") << "sttaaaa" << "RRRRRRF";
        QTest::newRow("next lottery from finished") << "sttttL" << "RRRRFE";
        QTest::newRow("next lottery from ready") << "stL" << "RRE";
        QTest::newRow("next round from finished") << "sttttN" << "RRRRFE";
        QTest::newRow("a new ladder goes back to entry") << "stm" << "RRE";
        QTest::newRow("group change from entry") << "gs" << "ER";
        QTest::newRow("group change lays out anew") << "sttttg" << "RRRRFE";
        QTest::newRow("group change not saved keeps the phase") << "sttttG" << "RRRRFF";
        QTest::newRow("a path runs until it arrives, a click meanwhile refused") << "sptk" << "RPPR";
        QTest::newRow("the last path's arrival finishes") << "stttpk" << "RRRRPF";
        QTest::newRow("one path short of all stays ready") << "sttpk" << "RRRPR";
        QTest::newRow("next lottery while a path runs") << "spL" << "RPE";
    }

    void transitions()
    {
        QFETCH(QString, actions);
        QFETCH(QString, phases);
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(3), std::make_unique<FixedTicks>()});
        lottery.start(opening());
        QCOMPARE(lottery.phase(), LotteryPhase::Entry);
        int next = 0;
        bool running = false;
        QString seen;
        for (const QChar action : actions) {
            switch (action.unicode()) {
            case u'x':
                QVERIFY(lottery.standby(boxes(false), 0, 0, unsaved).refusal);
                break;
            case u's':
                QVERIFY(!lottery.standby(boxes(true), 0, 0, unsaved).refusal);
                break;
            case u't':
                lottery.trace(next++);
                break;
            case u'c':
                lottery.trace(0);
                break;
            case u'p':
                QVERIFY(lottery.startPath(next++, ladder::RunSpeed::Fast));
                break;
            case u'k':
                QVERIFY(lottery.arrive());
                break;
            case u'a':
                if (!running)
                    running = lottery.startAutoRun();
                lottery.autoRunTick();
                break;
            case u'm':
                QVERIFY(lottery.makeLadder().made);
                break;
            case u'L':
                lottery.nextLottery();
                break;
            case u'N':
                QVERIFY(lottery.nextRound());
                break;
            case u'g':
            case u'G':
                QCOMPARE(lottery.changeGroup(1, boxes(true), action == u'g' ? unsaved : failedSave).has_value(),
                         action == u'g');
                break;
            }
            seen += QStringLiteral("ERPF").at(int(lottery.phase()));
            // The older flags tell the same.
            QCOMPARE(lottery.ready(), lottery.phase() != LotteryPhase::Entry);
            QCOMPARE(lottery.runningParticipant().has_value(), lottery.phase() == LotteryPhase::Running);
            QCOMPARE(lottery.allTraced(), lottery.phase() == LotteryPhase::Finished);
        }
        QCOMPARE(seen, phases);
    }

    // Rows: whether a name is missing and whether the save succeeds. Standby saves the lines it
    // stored, once; a refused one saves nothing, and a failed save does not undo the standby.
    void standbySave_data()
    {
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("writable");
        QTest::newRow("saved") << true << true;
        QTest::newRow("save failed") << true << false;
        QTest::newRow("refused") << false << true;
    }

    void standbySave()
    {
        QFETCH(bool, complete);
        QFETCH(bool, writable);
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(3), std::make_unique<FixedTicks>()});
        lottery.start(opening());
        QList<settings::SetupLines> saves;
        const Standby done = lottery.standby(boxes(complete), 0, 0, [&](const settings::SetupLines &lines) {
            saves << lines;
            return writable;
        });
        QCOMPARE(saves.size(), complete ? 1 : 0);
        QCOMPARE(done.saved, complete && writable);
        QCOMPARE(lottery.phase(), complete ? LotteryPhase::Ready : LotteryPhase::Entry);
        if (complete)
            QCOMPARE(saves.first(), lottery.settingsLines());
    }
};

QTEST_GUILESS_MAIN(TestPhase)
#include "tst_phase.moc"
