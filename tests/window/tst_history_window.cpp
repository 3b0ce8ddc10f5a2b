// The window's history: a lottery recorded at standby with every participant's fixed result,
// completed with the stamp, marked "中断" when the window goes on before every path is traced;
// a history that had to be set aside said once; and the history window's CSV and removal.
#include "history_dialog.h"
#include "support/window.h"

#include <QAction>
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
        const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
        if (damaged)
            QVERIFY(writeBytes(path, QByteArray(4096, 'x')));
        w.start().openHistory(path);
        QCOMPARE(w.messages().size(), damaged ? 1 : 0);
        QVERIFY(!damaged || w.messages().first().contains(path));
        QVERIFY(w.prepare(kWinnerMode, 4, 1));
        w.memo()->setText(QStringLiteral("忘年会"));
        QVERIFY(w.standby());
        History history;
        QVERIFY(history.open(path));
        QList<HistoryLottery> all = history.lotteries();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].state, QStringLiteral("記録中"));
        QCOMPARE(all[0].memo, QStringLiteral("忘年会"));
        QCOMPARE(all[0].participants, 4);
        QCOMPARE(all[0].winners, 1);

        // What was recorded at standby is what the traced paths then show.
        w.traceAll();
        w.form->findChild<QAction *>(QStringLiteral("mnu_copy"))->trigger();
        QStringList copied = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        copied.removeFirst();
        all = history.lotteries();
        QCOMPARE(all[0].state, QStringLiteral("完了"));
        QVERIFY(all[0].finishedAt.isValid());
        QStringList recorded;
        for (const HistoryRow &row : all[0].rows)
            recorded << row.name + QStringLiteral(" ：") + (row.result.isEmpty() ? QStringLiteral("はずれ") : row.result);
        QCOMPARE(recorded, copied);

        // The next lottery, left before it is traced, stays in the history as abandoned.
        w.form->findChild<QAction *>(QStringLiteral("mnu_next"))->trigger();
        w.fillEntries();
        QVERIFY(w.standby());
        w.clickName(0);
        w.form->findChild<QAction *>(QStringLiteral("mnu_next"))->trigger();
        all = history.lotteries();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[0].state, QStringLiteral("中断"));
        QCOMPARE(all[1].state, QStringLiteral("完了"));
    }

    // The selected lotteries (all without a selection) as CSV; removal after a yes.
    void historyWindowWritesAndRemoves()
    {
        QTemporaryDir folder;
        History history;
        QVERIFY(history.open(folder.filePath(QStringLiteral("history.sqlite3"))));
        for (int i = 0; i < 3; ++i) {
            HistoryLottery l;
            l.fixedAt = QDateTime(QDate(2026, 12, 7), QTime(18, i));
            l.memo = QStringLiteral("回%1").arg(i);
            l.participants = 2;
            l.rows = {{QStringLiteral("山田"), QStringLiteral("あたり")}, {QStringLiteral("佐藤"), QString()}};
            QVERIFY(history.recordStandby(l) != 0);
        }
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog dialog(history, save, messenger);
        auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("lotteries"));
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("回2"));

        save.chosen = folder.filePath(QStringLiteral("all.csv"));
        dialog.exportCsv();
        QFile all(save.chosen);
        QVERIFY(all.open(QIODevice::ReadOnly));
        QCOMPARE(all.readAll(), historyCsv(history.lotteries(), true));

        list->selectRow(1);
        QCOMPARE(dialog.findChild<QTableWidget *>(QStringLiteral("results"))->rowCount(), 2);
        save.chosen = folder.filePath(QStringLiteral("one.csv"));
        dialog.exportCsv();
        QFile one(save.chosen);
        QVERIFY(one.open(QIODevice::ReadOnly));
        QCOMPARE(one.readAll(), historyCsv({history.lotteries().at(1)}, true));

        messenger.answer = false;
        dialog.removeSelected();
        QCOMPARE(history.lotteries().size(), 3);
        messenger.answer = true;
        dialog.removeSelected();
        QCOMPARE(messenger.asked.size(), 2);
        QCOMPARE(history.lotteries().size(), 2);
        QCOMPARE(list->rowCount(), 2);
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
