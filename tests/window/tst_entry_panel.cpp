// Box layout for the participant count, texts loaded into the boxes, clearing names, the stored
// prize list and the Enter key in the second name box.
#include "settings/layout.h"
#include "support/user_input.h"
#include "support/window.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

class TestEntryPanel : public QObject
{
    Q_OBJECT

private slots:
    // The count buttons lay the boxes out; rows: the count reached, its mode and the outer height.
    void manSet_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("height");
        for (int mode : {kWinnerMode, kLotteryMode, kNumberMode}) {
            const char *name[] = {"winner", "lottery", "number"};
            QTest::addRow("2 %s", name[mode]) << 2 << mode << 2100;
            QTest::addRow("5 %s", name[mode]) << 5 << mode << 3180;
            QTest::addRow("36 %s", name[mode]) << 36 << mode << 14340;
            QTest::addRow("37 %s", name[mode]) << 37 << mode << 14700;
        }
    }

    void manSet()
    {
        QFETCH(int, count);
        QFETCH(int, mode);
        QFETCH(int, height);
        // Down to 2 and 36, up to 5 and 37.
        const bool down = count == 2 || count == 36;
        Window w;
        QVERIFY(w.writeLines({{1, QString::number(down ? count + 1 : count - 1)},
                              {settings::kModeLine, QString::number(mode - 1)}}));
        w.start();
        const long long draws = w.ts.random->draws;

        w.button(down ? "cmd_down" : "cmd_up")->click();

        for (int i = 0; i < kBoxCount; ++i) {
            QCOMPARE(w.shown(w.nameBox(i)), i < count);
            QCOMPARE(w.shown(w.prizeBox(i)), mode == kLotteryMode && i < count);
        }
        QCOMPARE(w.label("lbl_1")->text(), QStringLiteral("参加\r\n%1人").arg(count));
        QCOMPARE(int(pixelsToTwips(w.form->height())), height);
        QVERIFY(w.ts.random->draws > draws); // a new ladder was made
    }

    void hiddenNamesComeBack()
    {
        Window w;
        QVERIFY(w.writeLines({{1, "10"}}));
        w.start();
        QCOMPARE(w.mode(), kLotteryMode);
        w.fillEntries();
        QVERIFY(w.toCount(5));
        for (int i = 0; i < kBoxCount; ++i)
            QCOMPARE(w.shown(w.prizeBox(i)), i < 5);
        QVERIFY(w.toCount(10));
        for (int i = 0; i < 10; ++i) {
            QVERIFY(w.shown(w.prizeBox(i)));
            QCOMPARE(w.nameBox(i)->text(), QStringLiteral("N%1").arg(i));
            QCOMPARE(w.prizeBox(i)->text(), QStringLiteral("P%1").arg(i));
        }
    }

    void clearEmptiesHiddenNamesAndKeepsDrawing()
    {
        Window w;
        QMap<int, QString> lines{{1, "3"}};
        for (int i = 0; i < kBoxCount; ++i)
            lines[settings::nameLine(1, i)] = QStringLiteral("名%1").arg(i);
        QVERIFY(w.writeLines(lines));
        w.start();
        const QImage drawing = w.ladderPicture();
        const long long draws = w.ts.random->draws;

        w.button("cmd_clr")->click();

        for (int i = 0; i < kBoxCount; ++i)
            QVERIFY(w.nameBox(i)->text().isEmpty());
        QCOMPARE(w.ladderPicture(), drawing);
        QCOMPARE(w.ts.random->draws, draws);
        QCOMPARE(w.participants(), 3);
    }

    void storedPrizeListTwice_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("stored list") << true;
        QTest::newRow("empty lines") << false;
    }

    void storedPrizeListTwice()
    {
        QFETCH(bool, stored);
        Window w;
        QMap<int, QString> lines{{1, "4"}};
        for (int i = 0; stored && i < kBoxCount; ++i)
            lines[settings::storedPrizeLine(i)] = QStringLiteral("景品%1").arg(i);
        QVERIFY(w.writeLines(lines));
        w.start();
        for (int i = 0; i < 4; ++i)
            typeText(w.prizeBox(i), QStringLiteral("typed"));
        const QColor lightYellow(0xFF, 0xFF, 0xC0);
        const QColor standard = QApplication::palette(w.prizeBox(0)).color(QPalette::Base);
        QVERIFY(standard != lightYellow);

        w.button("cmd_change")->click();
        for (int i = 0; i < kBoxCount; ++i) {
            QCOMPARE(w.prizeBox(i)->text(), stored ? QStringLiteral("景品%1").arg(i) : QString());
            QCOMPARE(w.prizeBox(i)->palette().color(QPalette::Base), lightYellow);
            QCOMPARE(w.shown(w.prizeBox(i)), i < 4);
        }

        w.button("cmd_change")->click();
        for (int i = 0; i < kBoxCount; ++i) {
            QVERIFY(w.prizeBox(i)->text().isEmpty());
            QCOMPARE(w.prizeBox(i)->palette().color(QPalette::Base), standard);
            QCOMPARE(w.shown(w.prizeBox(i)), i < 4);
        }
    }

    // Rows: man_0's name in group 1, the name that a group change then brings (none: no change),
    // whether the box's tool tip is its text, and the length after 15 more typed characters.
    void loadedTextShowsItsStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("next");
        QTest::addColumn<bool>("tip");
        QTest::addColumn<int>("typed");
        const QString kanji = QStringLiteral("鈴木一郎左衛門之助三世");
        const QString ascii30 = QStringLiteral("Alexander Maximilian Fernandez");
        QTest::newRow("wide name") << kanji << QString() << true << 12;
        QTest::newRow("30 characters") << ascii30 << QString() << true << 30;
        QTest::newRow("short name") << QStringLiteral("太郎") << QString() << false << 12;
        QTest::newRow("long name after a group change") << QStringLiteral("太郎") << ascii30 << true << 30;
        QTest::newRow("short name after a 20-character one")
            << QStringLiteral("Christopher Robinson") << QStringLiteral("花子") << false << 12;
    }

    void loadedTextShowsItsStart()
    {
        QFETCH(QString, name);
        QFETCH(QString, next);
        QFETCH(bool, tip);
        QFETCH(int, typed);
        Window w;
        QVERIFY(w.writeLines({{1, "2"}, {settings::nameLine(1, 0), name}, {settings::nameLine(2, 0), next}}));
        w.start();
        if (!next.isNull())
            w.button("cmd_up3")->click();
        const QString shown = next.isNull() ? name : next;
        QLineEdit *box = w.nameBox(0);

        QCOMPARE(box->text(), shown);
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(box->toolTip(), tip ? shown : QString());
        typeText(box, QStringLiteral("あいうえおかきくけこさしすせそ"));
        QCOMPARE(box->text().size(), typed);
    }

    void keyInNameBox_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("Enter in man(1)") << 1 << int(Qt::Key_Return) << false << true;
        QTest::newRow("keypad Enter in man(1)") << 1 << int(Qt::Key_Enter) << false << true;
        QTest::newRow("Enter in locked man(1)") << 1 << int(Qt::Key_Return) << true << true;
        QTest::newRow("Enter in man(0)") << 0 << int(Qt::Key_Return) << false << false;
        QTest::newRow("Enter in man(2)") << 2 << int(Qt::Key_Return) << false << false;
        QTest::newRow("letter in man(1)") << 1 << int(Qt::Key_A) << false << false;
        QTest::newRow("M in man(1)") << 1 << int(Qt::Key_M) << true << false;
        QTest::newRow("Escape in man(1)") << 1 << int(Qt::Key_Escape) << false << false;
    }

    // Real key events reach the handler through the event filter, before the box; a box is
    // locked by standby.
    void keyInNameBox()
    {
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(bool, locked);
        QFETCH(bool, toggles);
        Window w;
        QVERIFY(w.writeLines({{1, "3"}}));
        w.start();
        if (locked) {
            w.fillEntries();
            QVERIFY(w.standby());
        }
        QLineEdit *box = w.nameBox(index);
        QCOMPARE(box->isReadOnly(), locked);
        QPushButton *autoRun = w.button("cmd_auto");
        QSignalSpy returns(box, &QLineEdit::returnPressed);

        QTest::keyClick(box, Qt::Key(key));
        QCOMPARE(autoRun->isHidden(), !toggles);
        QTest::keyClick(box, Qt::Key(key));
        QVERIFY(autoRun->isHidden());

        // The box still handles the key itself.
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        QCOMPARE(returns.count(), enter ? 2 : 0);
        if (key == Qt::Key_A)
            QCOMPARE(box->text(), QStringLiteral("aa"));
    }

    // Several lines pasted with Ctrl+V fill the box and the boxes below, one line each. Rows: the
    // column (names, or prizes in lottery mode), the participant count before, the box pasted
    // into, the clipboard, the texts of rows 0.. afterwards, the count after, the message.
    void pasteFillsTheBoxesBelow_data()
    {
        QTest::addColumn<bool>("names");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("countAfter");
        QTest::addColumn<QString>("message");
        const QString five = QStringLiteral("田中\n鈴木\n高橋\n伊藤\n渡辺\n");
        QTest::newRow("5 lines into the third name box")
            << true << 3 << 2 << five << QStringList{"", "", "田中", "鈴木", "高橋", "伊藤", "渡辺", ""} << 7 << QString();
        QTest::newRow("blank lines, spaces and a spreadsheet row")
            << true << 3 << 0 << QStringLiteral("\r\n  山田 太郎  \r\n\r\n花子\t2組\t90\r\n")
            << QStringList{"山田 太郎", "花子", ""} << 3 << QString();
        QTest::newRow("the count never falls") << true << 10 << 0 << QStringLiteral("A\nB") << QStringList{"A", "B", ""}
                                               << 10 << QString();
        QTest::newRow("lines past the last box are left out")
            << true << 36 << 35 << five << QStringList(35, QString()) + QStringList{"田中", "鈴木"} << 37
            << QStringLiteral("3人分は入りませんでした。");
        QTest::newRow("one line pastes into the box alone") << true << 2 << 0 << QStringLiteral("  田中\n") << QStringList{"  田中", ""}
                                                            << 2 << QString();
        QTest::newRow("a character the file cannot hold is replaced")
            << true << 2 << 0 << QStringLiteral("田中\n😀\n") << QStringList{"田中", "〓"} << 2
            << QStringLiteral("設定ファイルに保存できない文字を置き換えて入れました（〓は代わりの文字がないもの）。\n「😀」→「〓」");
        QTest::newRow("prizes fill the participants' rows")
            << false << 3 << 1 << five << QStringList{"", "田中", "鈴木", ""} << 3 << QStringLiteral("3件分は入りませんでした。");
    }

    void pasteFillsTheBoxesBelow()
    {
        QFETCH(bool, names);
        QFETCH(int, count);
        QFETCH(int, box);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, texts);
        QFETCH(int, countAfter);
        QFETCH(QString, message);
        Window w;
        QVERIFY(w.prepare(names ? kWinnerMode : kLotteryMode, count));
        for (int i = 0; i < kBoxCount; ++i)
            (names ? w.nameBox(i) : w.prizeBox(i))->clear();
        QLineEdit *target = names ? w.nameBox(box) : w.prizeBox(box);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);

        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE((names ? w.nameBox(i) : w.prizeBox(i))->text(), texts[i]);
        QCOMPARE(w.participants(), countAfter);
        QCOMPARE(w.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    }
};

QTEST_MAIN(TestEntryPanel)
#include "tst_entry_panel.moc"
