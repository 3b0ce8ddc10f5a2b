// The window's history: a lottery recorded at standby with its names, each result as its path is
// traced, completed with the stamp, marked "中断" when the window goes on or closes before every
// path is traced; a history that had to be set aside said once; and the history window's list,
// CSV, removal and keyboard.
#include "support/history_rows.h"
#include "support/other_copy.h"
#include "history_dialog.h"
#include "support/another_user.h"
#include "support/window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
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
        QStringList copied = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts).mid(1);
        QList<HistoryLottery> all = history.lotteries();
        // The copied result ends with the hash the history kept from standby on.
        QCOMPARE(l.commitmentHash.size(), 64);
        QVERIFY(copied.takeLast().endsWith(QString::fromLatin1(l.commitmentHash)));
        QCOMPARE(all[0].state, QString("完了"));
        QVERIFY(all[0].finishedAt >= all[0].fixedAt && all[0].fixedAt.isValid());
        QStringList recorded;
        for (const HistoryRow &row : history.rows(all[0].id))
            recorded << row.name + " ：" + historyResultText(all[0], row);
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

    // The list newest first with the newest selected and its results shown; the selected
    // lotteries, or all, as CSV, saying where; removal after a question naming the lottery, never
    // of one still being recorded.
    void historyWindowWritesAndRemoves()
    {
        QTemporaryDir folder;
        History history;
        QVERIFY(history.open(folder.filePath("history.sqlite3")));
        for (int i = 0; i < 3; ++i) {
            const qint64 id = history.recordStandby({.id = 0, .fixedAt = QDateTime(QDate(2026, 12, 7), QTime(18, i)),
                                                     .finishedAt = {}, .group = 1, .memo = QString("回%1").arg(i), .mode = 0,
                                                     .participants = 2, .winners = 0, .round = 1, .state = {},
                                                     .rows = {{"山田", {}, false}, {"佐藤", {}, false}}, .commitmentHash = {}});
            QVERIFY(history.recordTrace(id, 0, "あたり"));
            // The newest is still being recorded, its second path not yet traced.
            QVERIFY(i == 2 || (history.recordTrace(id, 1, {}) && history.complete(id, QDateTime(QDate(2026, 12, 7), QTime(19, i)))));
        }
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog dialog(history, save, messenger);
        auto *list = dialog.findChild<QTableView *>("lotteries");
        auto *results = dialog.findChild<QTableWidget *>("results");
        const auto cell = [&](int row, int column) { return list->model()->index(row, column).data().toString(); };
        const auto exported = [&](const QString &name, const char *button) {
            save.chosen = folder.filePath(name);
            dialog.findChild<QPushButton *>(button)->click();
            return fileBytes(save.chosen);
        };
        QCOMPARE(list->model()->rowCount(), 3);
        QVERIFY(list->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(results->rowCount(), 2);
        QCOMPARE(results->item(0, 1)->text(), QString("あたり"));
        QCOMPARE(results->item(1, 1)->text(), kNotTraced);
        QCOMPARE(exported("all.csv", "exportAllCsv"), historyCsv(withRows(history), true));
        QVERIFY(messenger.shown.last().contains(QDir::toNativeSeparators(save.chosen)));
        list->selectRow(1);
        QCOMPARE(results->item(1, 1)->text(), QString("はずれ"));
        QCOMPARE(exported("one.csv", "exportCsv"), historyCsv({withRows(history).at(1)}, true));

        messenger.answer = false;
        dialog.removeSelected();
        QCOMPARE(history.lotteries().size(), 3);
        QVERIFY2(messenger.asked.last().contains(cell(1, 2)) && messenger.asked.last().contains(cell(1, 0)),
                 qPrintable(messenger.asked.last()));
        messenger.answer = true;
        dialog.removeSelected();
        QCOMPARE(messenger.asked.size(), 2);
        QCOMPARE(history.lotteries().size(), 2);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(cell(1, 2), QString("回0"));

        // The newest is still being recorded: nothing is asked, nothing removed, and it is said.
        list->selectRow(0);
        const qsizetype shownBefore = messenger.shown.size();
        dialog.removeSelected();
        QCOMPARE(std::tuple(messenger.asked.size(), history.lotteries().size(), messenger.shown.size()),
                 std::tuple(qsizetype(2), qsizetype(2), shownBefore + 1));
        list->clearSelection();
        QVERIFY(!dialog.findChild<QPushButton *>("remove")->isEnabled());
    }

    // Opened from the keyboard, the newest lottery is selected with its results; Tab goes from the
    // list to the results to the buttons; both tables named.
    void historyWindowByKeyboard()
    {
        QTemporaryDir folder;
        History history;
        QVERIFY(history.open(folder.filePath("history.sqlite3")));
        for (int i = 0; i < 2; ++i)
            history.recordStandby({.id = 0, .fixedAt = QDateTime(QDate(2026, 12, 7), QTime(18, i)), .finishedAt = {},
                                   .group = 1, .memo = {}, .mode = 0, .participants = 2, .winners = 0, .round = 1,
                                   .state = {}, .rows = {{"山田", {}, false}, {"佐藤", {}, false}}, .commitmentHash = {}});
        FakeSaveDialog save;
        RecordingMessenger messenger;
        // Opened by Ctrl+H: Ctrl is still held as the window opens.
        QWidget opener;
        opener.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opener));
        QTest::keyPress(opener.windowHandle(), Qt::Key_Control, Qt::ControlModifier);
        HistoryDialog dialog(history, save, messenger);
        QTest::keyRelease(opener.windowHandle(), Qt::Key_Control);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *list = dialog.findChild<QTableView *>("lotteries");
        auto *results = dialog.findChild<QTableWidget *>("results");
        QCOMPARE(QApplication::focusWidget(), list);
        // Shown, the newest lottery is still selected, its results below.
        QVERIFY(list->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(results->rowCount(), 2);
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), results);
        QTest::keyClick(results, Qt::Key_Tab);
        QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));
        for (QWidget *table : {static_cast<QWidget *>(list), static_cast<QWidget *>(results)})
            QVERIFY(!table->accessibleName().isEmpty());
        QVERIFY(list->accessibleName() != results->accessibleName());
    }

    // An empty history and one that cannot be read say different things, the second naming the
    // file.
    void historyWindowTellsUnreadableFromEmpty()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite3");
        History empty;
        QVERIFY(empty.open(path));
        History unread;
        QVERIFY(!unread.openForReading(folder.filePath("none.sqlite3")));
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog emptyDialog(empty, save, messenger);
        HistoryDialog unreadDialog(unread, save, messenger);
        auto *emptyStatus = emptyDialog.findChild<QLabel *>("status");
        auto *unreadStatus = unreadDialog.findChild<QLabel *>("status");
        QVERIFY(!emptyStatus->isHidden() && !unreadStatus->isHidden());
        QVERIFY(emptyStatus->text() != unreadStatus->text());
        QVERIFY(unreadStatus->text().contains(QDir::toNativeSeparators(folder.filePath("none.sqlite3"))));
    }

    // A history that can be read but not written: nothing said at start and the history window
    // still there; the first lottery that cannot be recorded says so once, as an error naming the
    // file, and the lotteries go on.
    void unwritableHistorySaysOnce()
    {
        RUN_AS_ANOTHER_USER_IF_ROOT();
        Window w;
        const QString path = w.ts.folder.filePath("history.sqlite3");
        {
            History made;
            QVERIFY(made.open(path));
        }
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        w.start().openHistory(path);
        QCOMPARE(w.messages().size(), 0);
        QVERIFY(w.entry("mnu_history")->isEnabled());
        for (int lottery = 0; lottery < 2; ++lottery) {
            if (lottery > 0)
                w.entry("mnu_next")->trigger();
            QVERIFY(w.prepare(kWinnerMode, 3));
            QVERIFY(w.standby());
            w.traceAll();
        }
        QCOMPARE(w.ts.messenger->errors.size(), 1);
        QVERIFY2(w.ts.messenger->errors[0].contains(QDir::toNativeSeparators(path)), qPrintable(w.ts.messenger->errors[0]));
        QVERIFY(w.entry("mnu_copy")->isEnabled());
    }

    // Rows: whether another copy holds the file before the window opens it (the opening is
    // tried again later, nothing said) or only from standby on (the record is given up after a
    // moment and said once). Either way the lottery runs to its end.
    void heldHistoryNeverStopsTheLottery_data()
    {
        QTest::addColumn<bool>("heldBeforeOpening");
        QTest::addColumn<bool>("historyShown");
        QTest::addColumn<int>("errors");
        QTest::newRow("held before the window opens it") << true << false << 0;
        QTest::newRow("held after it opened") << false << true << 1;
    }

    void heldHistoryNeverStopsTheLottery()
    {
        QFETCH(bool, heldBeforeOpening);
        QFETCH(bool, historyShown);
        QFETCH(int, errors);
        Window w;
        const QString path = w.ts.folder.filePath("history.sqlite3");
        OtherCopy other(path);
        QVERIFY(other.ok());
        QVERIFY(!heldBeforeOpening || other.hold());
        w.start().openHistory(path);
        QVERIFY(heldBeforeOpening || other.hold());
        QCOMPARE(w.entry("mnu_history")->isEnabled(), historyShown);
        QVERIFY(w.prepare(kWinnerMode, 3));
        QVERIFY(w.standby());
        w.traceAll();
        QVERIFY(w.button("cmd_print")->isEnabled());
        QCOMPARE(w.ts.messenger->errors.size(), errors);
        QVERIFY(errors == 0 || w.ts.messenger->errors[0].contains(QDir::toNativeSeparators(path)));
        QVERIFY(other.release());
    }

    // Rows: the draw mode. The file and its write-ahead log hold no result before its path is
    // traced, and the prize boxes no text (nor what they tell a screen reader); each traced result
    // then appears in both.
    void nothingBeforeItsTrace_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("lottery mode") << kLotteryMode;
        QTest::newRow("winner mode") << kWinnerMode;
    }

    void nothingBeforeItsTrace()
    {
        QFETCH(int, mode);
        Window w;
        const QString path = w.ts.folder.filePath("history.sqlite3");
        w.start().openHistory(path);
        QVERIFY(w.prepare(mode, 6, 2));
        // Prizes no other text in the file can hold.
        for (int i = 0; mode == kLotteryMode && i < 6; ++i)
            w.prizeBox(i)->setText(QString("景品ZQ%1").arg(i));
        const QByteArray nonceHex = w.ts.nonces->nextHex();
        QVERIFY(w.standby());
        // The commitment's nonce and text come only with the last trace.
        const auto commitmentInFile = [&] {
            const QByteArray bytes = fileBytes(path) + fileBytes(path + "-wal");
            return bytes.contains(nonceHex) || bytes.contains("\nparticipant\t");
        };
        const QStringList secret = mode == kLotteryMode
            ? QStringList{"景品ZQ0", "景品ZQ1", "景品ZQ2", "景品ZQ3", "景品ZQ4", "景品ZQ5"}
            : QStringList{"あたり"};
        const auto inFile = [&] {
            const QByteArray bytes = fileBytes(path) + fileBytes(path + "-wal");
            QStringList found;
            for (const QString &text : secret)
                if (bytes.contains(text.toUtf8()))
                    found << text;
            return found;
        };
        const auto inBoxes = [&] {
            QStringList found;
            for (int i = 0; i < kBoxCount; ++i) {
                QAccessibleInterface *box = QAccessible::queryAccessibleInterface(w.prizeBox(i));
                for (const QString &text : secret)
                    if (w.prizeBox(i)->text().contains(text) || box->text(QAccessible::Value).contains(text))
                        found << text;
            }
            return found;
        };
        QCOMPARE(inFile(), QStringList());
        QCOMPARE(inBoxes(), QStringList());
        QStringList seen;
        for (int i = 0; i < 6; ++i) {
            w.clickName(i);
            for (int row = 0; row < 6; ++row)
                for (const QString &text : secret)
                    if (w.prizeBox(row)->text().contains(text) && !seen.contains(text))
                        seen << text;
            QStringList stored = inFile();
            stored.sort();
            QStringList shown = inBoxes();
            shown.removeDuplicates();
            shown.sort();
            QCOMPARE(stored, shown);
            QCOMPARE(commitmentInFile(), i == 5);
        }
        QCOMPARE(seen.size(), secret.size());
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
