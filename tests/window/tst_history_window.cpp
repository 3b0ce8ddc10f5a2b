// The window's history: a lottery recorded at standby with every participant's fixed result,
// completed with the stamp, marked "中断" when the window goes on or closes before every path is
// traced; a history that had to be set aside said once; and the history window's CSV and removal.
#include "history_dialog.h"
#include "support/window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTableWidget>

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    // Rows: whether the history file is damaged before the window opens it (it is set aside,
    // once said, and a new history records).
    void lotteriesAreRecorded_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("new history") << false;
        QTest::newRow("damaged history") << true;
    }

    void lotteriesAreRecorded()
    {
        QFETCH(bool, damaged);
        Window w;
        const QString path = w.ts.folder.filePath("history.sqlite3");
        if (damaged)
            QVERIFY(writeBytes(path, QByteArray(4096, 'x')));
        w.start().openHistory(path);
        QCOMPARE(w.messages().size(), damaged ? 1 : 0);
        QVERIFY(!damaged || w.messages().first().contains(path));
        QVERIFY(w.prepare(kWinnerMode, 4, 1));
        w.memo()->setText("忘年会");
        QVERIFY(w.standby());
        History history;
        QVERIFY(history.open(path));
        const QList<HistoryLottery> fixed = history.lotteries();
        QCOMPARE(fixed.size(), 1);
        const HistoryLottery &l = fixed[0];
        QCOMPARE(std::tuple(l.state, l.memo, l.group, l.mode, l.participants, l.winners, l.round),
                 std::tuple(QString("記録中"), QString("忘年会"), 1, kWinnerMode, 4, 1, 1));

        // What was recorded at standby is what the traced paths then show (the copied result says
        // "はずれ" for an empty one, and has one winner), stamped after standby.
        w.traceAll();
        w.entry("mnu_copy")->trigger();
        const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts).mid(1);
        QList<HistoryLottery> all = history.lotteries();
        QCOMPARE(all[0].state, QString("完了"));
        QVERIFY(all[0].finishedAt >= all[0].fixedAt && all[0].fixedAt.isValid());
        QStringList recorded;
        for (const HistoryRow &row : all[0].rows)
            recorded << row.name + " ：" + (row.result.isEmpty() ? QString("はずれ") : row.result);
        QCOMPARE(recorded, copied);
        QCOMPARE(copied.filter("：あたり").size(), 1);

        // The next lottery, left before it is traced, stays in the history as abandoned; so does
        // one the window closes on.
        w.entry("mnu_next")->trigger();
        w.fillEntries();
        QVERIFY(w.standby());
        w.clickName(0);
        w.entry("mnu_next")->trigger();
        all = history.lotteries();
        QCOMPARE(all.size(), 2);
        QCOMPARE(QStringList({all[0].state, all[1].state}), QStringList({"中断", "完了"}));
        w.fillEntries();
        QVERIFY(w.standby());
        w.form->close();
        QCOMPARE(history.lotteries().size(), 3);
        QCOMPARE(history.lotteries().first().state, QString("中断"));
    }

    // The list newest first with the selected lottery's results; the selected lotteries (all
    // without a selection) as CSV; removal of the selected one only after a yes.
    void historyWindowWritesAndRemoves()
    {
        QTemporaryDir folder;
        History history;
        QVERIFY(history.open(folder.filePath("history.sqlite3")));
        for (int i = 0; i < 3; ++i)
            QVERIFY(history.recordStandby({.id = 0, .fixedAt = QDateTime(QDate(2026, 12, 7), QTime(18, i)),
                                           .finishedAt = {}, .group = 1, .memo = QString("回%1").arg(i), .mode = 0,
                                           .participants = 2, .winners = 0, .round = 1, .state = {},
                                           .rows = {{"山田", "あたり"}, {"佐藤", QString()}}}) != 0);
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog dialog(history, save, messenger);
        auto *list = dialog.findChild<QTableWidget *>("lotteries");
        const auto exported = [&](const QString &name) {
            save.chosen = folder.filePath(name);
            dialog.exportCsv();
            return fileBytes(save.chosen);
        };
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 1)->text(), QString("回2"));
        QCOMPARE(exported("all.csv"), historyCsv(history.lotteries(), true));
        list->selectRow(1);
        QCOMPARE(dialog.findChild<QTableWidget *>("results")->rowCount(), 2);
        QCOMPARE(exported("one.csv"), historyCsv({history.lotteries().at(1)}, true));

        messenger.answer = false;
        dialog.removeSelected();
        QCOMPARE(history.lotteries().size(), 3);
        messenger.answer = true;
        dialog.removeSelected();
        QCOMPARE(messenger.asked.size(), 2);
        QCOMPARE(history.lotteries().size(), 2);
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->item(1, 1)->text(), QString("回0"));
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
