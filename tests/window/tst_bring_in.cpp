// Names brought into the window by every way in, under one rule: a block of rows pasted or
// dropped fills boxes from its names cells, a character the settings file cannot hold changes
// before it goes into a box and one message names what changed, 元に戻す puts back what was there,
// and the keyboard and a screen reader learn what happened.
#include "name_preview_dialog.h"
#include "support/user_input.h"
#include "support/window.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QMimeData>
#include <QTableView>

namespace {

QStringList boxTexts(const Window &w, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << w.nameBox(i)->text();
    return texts;
}

// Text dropped on a box as a drag from another program brings it.
void dropText(QWidget *box, const QString &text)
{
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

// What a screen reader hears from the window's status line (its alert carries this name).
QString heard(const Window &w)
{
    QWidget *status = w.control(QStringLiteral("lbl_status"));
    if (!status->isVisibleTo(w.form.get()))
        return QStringLiteral("(hidden)");
    return QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name);
}

} // namespace

class TestBringIn : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the text, the box it goes into, pasted or dropped; the names of the first boxes
    // after, the participant count, the messages.
    void block_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("messages");
        const QStringList three{QStringLiteral("佐藤"), QStringLiteral("山田"), QStringLiteral("鈴木")};
        const QStringList none;
        for (const bool dropped : {false, true}) {
            const char *way = dropped ? "dropped" : "pasted";
            QTest::addRow("%s: a tab before the second", way) << QStringLiteral("佐藤\n\t山田\n鈴木") << 0 << dropped << three << 3 << none;
            QTest::addRow("%s: characters the file cannot hold", way)
                << QStringLiteral("𠮷田\n🎉パーティー\n山田") << 0 << dropped
                << QStringList{QStringLiteral("吉田"), QStringLiteral("〓パーティー"), QStringLiteral("山田")} << 3
                << QStringList{QStringLiteral("設定ファイルに保存できない文字を置き換えて入れました（〓は代わりの文字がないもの）。\n"
                                              "「𠮷田」→「吉田」\n「🎉パーティー」→「〓パーティー」")};
        }
        QTest::newRow("one row of cells") << QStringLiteral("佐藤\t1") << 1 << false << QStringList{QStringLiteral("N0"), QStringLiteral("佐藤")}
                                          << 2 << none;
    }

    void block()
    {
        QFETCH(QString, text);
        QFETCH(int, box);
        QFETCH(bool, dropped);
        QFETCH(QStringList, names);
        QFETCH(int, count);
        QFETCH(QStringList, messages);
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 2));
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        QLineEdit *target = w.nameBox(box);
        if (dropped) {
            dropText(target, text);
        } else {
            QGuiApplication::clipboard()->setText(text);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(boxTexts(w, int(names.size())), names);
        QCOMPARE(w.participants(), count);
        QCOMPARE(w.messages(), messages);
        for (int i = 0; i < kBoxCount; ++i)
            QVERIFY(!w.nameBox(i)->text().contains(u'\t'));
        // The keyboard goes on from the first box filled.
        QCOMPARE(QApplication::focusWidget(), target);
    }

    // After standby a locked name box takes no paste, and the user is told why.
    void pasteIntoALockedBox()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 3));
        QVERIFY(w.standby());
        w.ts.messenger->shown.clear();
        for (const QString &text : {QStringLiteral("山田"), QStringLiteral("山田\n佐藤")}) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(w.nameBox(1), Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(w.nameBox(1)->text(), QStringLiteral("N1"));
        QCOMPARE(w.messages().size(), 2);
    }

    // A typed character the file cannot hold changes in the box, and the message says so.
    void typedCharacterChanges()
    {
        Window w;
        w.start();
        typeText(w.nameBox(0), QStringLiteral("𠮷"));
        typeText(w.nameBox(0), QStringLiteral("田"));
        QCOMPARE(w.nameBox(0)->text(), QStringLiteral("吉田"));
        QTRY_COMPARE(w.messages().size(), 1);
        QVERIFY(w.messages().first().endsWith(QStringLiteral("「𠮷」→「吉」")));
    }

    // A file's names go in as the file will keep them, after one message; the saved file holds
    // what the boxes show.
    void fileNamesAreSavedAsShown()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 2));
        const QString path = w.ts.folder.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeBytes(path, QStringLiteral("🎉パーティー\n𠮷野家\n한국어\nCafé\n").toUtf8()));
        w.form->openNameList(path);
        const QStringList shown{QStringLiteral("〓パーティー"), QStringLiteral("吉野家"), QStringLiteral("〓〓〓"), QStringLiteral("Cafe")};
        QCOMPARE(boxTexts(w, 4), shown);
        QCOMPARE(w.messages().size(), 1);
        QCOMPARE(w.messages().first().count(u'\n'), 4);
        QVERIFY(w.standby());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.fileLines()[settings::nameLine(1, i)], shown[i]);
    }

    // Rows: how the list came in, and how 元に戻す is given.
    void undo_data()
    {
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<bool>("key");
        QTest::newRow("file, Ctrl+Z in a box") << false << true;
        QTest::newRow("file, the menu's entry") << false << false;
        QTest::newRow("block paste, Ctrl+Z in a box") << true << true;
    }

    // Ten names with three winners, then two names and five: 元に戻す brings back the two.
    void undo()
    {
        QFETCH(bool, pasted);
        QFETCH(bool, key);
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 10, 3));
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        QVERIFY(!w.entry("mnu_undo")->isEnabled());
        const QStringList before = boxTexts(w, kBoxCount);
        const auto bringIn = [&](const QStringList &list) {
            if (pasted) {
                QGuiApplication::clipboard()->setText(list.join(u'\n'));
                w.nameBox(0)->setFocus();
                QTest::keyClick(w.nameBox(0), Qt::Key_V, Qt::ControlModifier);
                return;
            }
            const QString path = w.ts.folder.filePath(QStringLiteral("list.txt"));
            QVERIFY(writeBytes(path, list.join(u'\n').toUtf8()));
            w.form->openNameList(path);
        };
        bringIn({"A", "B"});
        QCOMPARE(w.winners(), pasted ? 3 : 1);
        const QStringList afterFirst = boxTexts(w, kBoxCount);
        const int countAfterFirst = w.participants();
        bringIn({"C", "D", "E", "F", "G"});
        QVERIFY(w.entry("mnu_undo")->isEnabled());
        if (key)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        else
            w.entry("mnu_undo")->trigger();
        QCOMPARE(boxTexts(w, kBoxCount), afterFirst);
        QCOMPARE(w.participants(), countAfterFirst);
        QCOMPARE(w.winners(), pasted ? 3 : 1);
        QVERIFY(!w.entry("mnu_undo")->isEnabled());
        QVERIFY(before != afterFirst);
    }

    void undoEndsAtStandby()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 3));
        const QString path = w.ts.folder.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeBytes(path, "A\nB\nC\nD\n"));
        w.form->openNameList(path);
        QVERIFY(w.entry("mnu_undo")->isEnabled());
        QVERIFY(w.standby());
        QVERIFY(!w.entry("mnu_undo")->isEnabled());
        w.entry("mnu_undo")->trigger();
        QCOMPARE(boxTexts(w, 4), (QStringList{"A", "B", "C", "D"}));
    }

    // After 読み込む the focus is on the first name box, which stays shown, and a screen reader
    // hears how many names came in and how many were left out.
    void readOutAfterTaking()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 36));
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        for (const int count : {5, 39}) {
            w.nameBox(34)->setFocus();
            QStringList list;
            for (int i = 0; i < count; ++i)
                list << QStringLiteral("名%1").arg(i);
            const QString path = w.ts.folder.filePath(QStringLiteral("list.csv"));
            QVERIFY(writeBytes(path, list.join(u'\n').toUtf8()));
            w.form->openNameList(path);
            QCOMPARE(QApplication::focusWidget(), w.nameBox(0));
            QCOMPARE(heard(w), count == 5 ? QStringLiteral("5人の名前を読み込みました。")
                                          : QStringLiteral("37人の名前を読み込みました。2人分は入りませんでした。"));
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
        QTest::keyClick(w.nameBox(0), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(heard(w), QStringLiteral("2人の名前を貼り付けました。"));
    }

    // The preview: the file's line numbers, a named list, and Tab from the list to the buttons.
    void previewForTheKeyboard()
    {
        names::NameListRead read = names::namesOfText(QStringLiteral("氏名\n\n山田\n\n佐藤\n"), names::ListFormat::TabSeparated);
        NamePreviewDialog dialog(QStringLiteral("list.txt"), read);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *table = dialog.findChild<QTableView *>(QStringLiteral("names"));
        QCOMPARE(table->model()->index(0, 0).data().toString(), QStringLiteral("3"));
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("5"));
        QVERIFY(!QAccessible::queryAccessibleInterface(table)->text(QAccessible::Name).isEmpty());
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Tab);
        QVERIFY(qobject_cast<QDialogButtonBox *>(QApplication::focusWidget()->parentWidget()));
    }
};

QTEST_MAIN(TestBringIn)
#include "tst_bring_in.moc"
