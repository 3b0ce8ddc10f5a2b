// A block of rows pasted into a column of boxes, as a rule: which boxes take which rows, how many
// are left over, how the participant count follows, and what 元に戻す puts back.
#include "lottery/lottery.h"
#include "names/storable.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

namespace {

QStringList rowsOf(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("R%1").arg(i);
    return rows;
}

} // namespace

class TestPaste : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the column, the participant count, the box pasted into, the number of rows; then the
    // rows that find a box and the participant count afterwards.
    void paste_data()
    {
        QTest::addColumn<BoxColumn>("column");
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("filled");
        QTest::addColumn<int>("after");
        const BoxColumn names = BoxColumn::Names;
        const BoxColumn prizes = BoxColumn::Prizes;
        const int last = kBoxCount - 1;
        const int middle = kBoxCount / 2;
        // The boxes from the middle one to the last.
        const int room = kBoxCount - middle;
        QTest::newRow("names: fewer than the participants, count never falls") << names << 4 << 0 << 2 << 2 << 4;
        QTest::newRow("names: as many as the participants") << names << 4 << 0 << 4 << 4 << 4;
        QTest::newRow("names: one more, count rises") << names << 4 << 0 << 5 << 5 << 5;
        QTest::newRow("names: from the middle, one short of the room") << names << 4 << middle << room - 1 << room - 1 << last;
        QTest::newRow("names: from the middle, the room exactly") << names << 4 << middle << room << room << kBoxCount;
        QTest::newRow("names: from the middle, one over the room") << names << 4 << middle << room + 1 << room << kBoxCount;
        QTest::newRow("names: at the last box, one row") << names << 4 << last << 1 << 1 << kBoxCount;
        QTest::newRow("names: at the last box, two rows") << names << 4 << last << 2 << 1 << kBoxCount;
        QTest::newRow("names: every box taken already") << names << kBoxCount << last << 1 << 1 << kBoxCount;
        QTest::newRow("prizes: fewer than the participants") << prizes << 4 << 0 << 3 << 3 << 4;
        QTest::newRow("prizes: as many as the participants") << prizes << 4 << 0 << 4 << 4 << 4;
        QTest::newRow("prizes: one more, left over") << prizes << 4 << 0 << 5 << 4 << 4;
        QTest::newRow("prizes: at the last participant") << prizes << 4 << 3 << 2 << 1 << 4;
        QTest::newRow("prizes: past the participants") << prizes << 4 << 4 << 1 << 0 << 4;
        QTest::newRow("prizes: at the last box") << prizes << kBoxCount << last << 2 << 1 << kBoxCount;
    }

    void paste()
    {
        QFETCH(BoxColumn, column);
        QFETCH(int, participants);
        QFETCH(int, first);
        QFETCH(int, rows);
        QFETCH(int, filled);
        QFETCH(int, after);
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(5), std::make_unique<FixedTicks>()});
        lottery.start(setupLines(counts(participants, 1, modes::kWinnerMode)));
        Entries before;
        before.names[0] = QStringLiteral("前");

        const std::optional<Pasted> pasted = lottery.paste(column, first, rowsOf(rows), before);
        QVERIFY(pasted);
        QCOMPARE(pasted->first, first);
        QCOMPARE(pasted->taken, rowsOf(filled));
        QCOMPARE(pasted->texts, rowsOf(filled));
        QCOMPARE(pasted->leftOver, rows - filled);
        QCOMPARE(int(lottery.state().man_count), after);
        QCOMPARE(pasted->layout.has_value(), after != participants);
        if (pasted->layout)
            QCOMPARE(int(pasted->layout->participants), after);

        // 元に戻す puts back the boxes and the count as they were before the paste.
        const std::optional<EntriesRestored> restored = lottery.restoreEntries();
        QVERIFY(restored);
        QCOMPARE(restored->names, before.names);
        QCOMPARE(int(lottery.state().man_count), participants);
    }

    // A row the settings file cannot keep goes into its box in the form the file keeps; the rows
    // taken stay as they came, so that the change can be told.
    void storableForm()
    {
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(5), std::make_unique<FixedTicks>()});
        lottery.start(setupLines(counts(4, 1, modes::kWinnerMode)));
        const QStringList rows{QStringLiteral("山田"), QStringLiteral("\U00020BB7田")};
        const std::optional<Pasted> pasted = lottery.paste(BoxColumn::Names, 0, rows, {});
        QVERIFY(pasted);
        QCOMPARE(pasted->taken, rows);
        QCOMPARE(pasted->texts.first(), rows.first());
        QCOMPARE(pasted->texts.last(), names::storableForm(rows.last()));
        QVERIFY(pasted->texts.last() != rows.last());
    }

    // Rows: a box outside the column, or nothing to paste. Nothing changes, and nothing is kept
    // for 元に戻す.
    void nothingPasted_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("rows");
        QTest::newRow("before the first box") << -1 << 1;
        QTest::newRow("one past the last box") << kBoxCount << 1;
        QTest::newRow("no rows") << 0 << 0;
    }

    void nothingPasted()
    {
        QFETCH(int, first);
        QFETCH(int, rows);
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(5), std::make_unique<FixedTicks>()});
        lottery.start(setupLines(counts(4, 1, modes::kWinnerMode)));
        QVERIFY(!lottery.paste(BoxColumn::Names, first, rowsOf(rows), {}));
        QCOMPARE(int(lottery.state().man_count), 4);
        QVERIFY(!lottery.canRestoreEntries());
    }
};

QTEST_GUILESS_MAIN(TestPaste)
#include "tst_paste.moc"
