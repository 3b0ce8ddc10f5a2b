// Box layout for the participant count, clearing names, the stored prize list and the
// Enter key in the second name box.
#include "panel/entry_form.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestEntryPanel : public QObject
{
    Q_OBJECT

private slots:
    void manSet_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("height");
        for (int mode : {0, 1, 2}) {
            const char *name[] = {"winner", "lottery", "number"};
            QTest::addRow("2 %s", name[mode]) << 2 << mode << QStringLiteral("参加\r\n2人") << 2100;
            QTest::addRow("5 %s", name[mode]) << 5 << mode << QStringLiteral("参加\r\n5人") << 3180;
            QTest::addRow("36 %s", name[mode]) << 36 << mode << QStringLiteral("参加\r\n36人") << 14340;
            QTest::addRow("37 %s", name[mode]) << 37 << mode << QStringLiteral("参加\r\n37人") << 14700;
        }
    }

    void manSet()
    {
        QFETCH(int, count);
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(int, height);
        EntryForm f(int16_t(count), 1, int16_t(mode));
        f.form.ans[36]->hide();
        f.form.st.ready_flag = 1;

        f.form.man_set();

        QVERIFY(f.showsFirst(f.form.man, count));
        if (mode == 1)
            QVERIFY(f.showsFirst(f.form.ans, count));
        else
            QCOMPARE(f.shown(f.form.ans), 36); // prize boxes untouched outside lottery mode
        QCOMPARE(f.form.lbl_1->text(), caption);
        QCOMPARE(f.form.outerHeightTwips(), height);
        QCOMPARE(f.form.st.ready_flag, int16_t(0));
        QVERIFY(f.ts.random->draws > 0); // a new ladder was made
    }

    void hiddenNamesComeBack()
    {
        EntryForm f(10, 1, 1);
        f.form.man_set();
        for (int i = 0; i < 10; ++i) {
            f.form.man[i]->setText(QStringLiteral("名%1").arg(i));
            f.form.ans[i]->setText(QStringLiteral("賞%1").arg(i));
        }
        for (int i = 0; i < 5; ++i)
            f.form.cmd_down->click();
        QVERIFY(f.showsFirst(f.form.man, 5));
        QVERIFY(f.showsFirst(f.form.ans, 5));
        for (int i = 0; i < 5; ++i)
            f.form.cmd_up->click();
        QVERIFY(f.showsFirst(f.form.man, 10));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(f.form.man[i]->text(), QStringLiteral("名%1").arg(i));
            QCOMPARE(f.form.ans[i]->text(), QStringLiteral("賞%1").arg(i));
        }
    }

    void clearEmptiesHiddenNamesAndKeepsDrawing()
    {
        EntryForm f(3, 1, 1);
        f.form.man_set();
        for (QLineEdit *box : f.form.man)
            box->setText(QStringLiteral("名"));
        const QImage drawing = f.form.surface.image();
        const long long draws = f.ts.random->draws;

        f.form.cmd_clr->click();

        for (QLineEdit *box : f.form.man)
            QVERIFY(box->text().isEmpty());
        QCOMPARE(f.form.surface.image(), drawing);
        QCOMPARE(f.ts.random->draws, draws);
        QCOMPARE(f.form.st.man_count, int16_t(3));
    }

    void storedPrizeListTwice_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("stored list") << true;
        QTest::newRow("first run, empty lines") << false;
    }

    void storedPrizeListTwice()
    {
        QFETCH(bool, stored);
        EntryForm f(4, 1, 1);
        f.form.man_set();
        for (int i = 0; i < Form1::BoxCount; ++i) {
            f.form.ans[i]->setText(QStringLiteral("typed"));
            if (stored)
                f.form.st.setup_lines[21 + i] = QStringLiteral("景品%1").arg(i);
        }
        const QColor lightYellow(0xFF, 0xFF, 0xC0);
        const QColor standard = QApplication::palette(f.form.ans[0]).color(QPalette::Base);
        QVERIFY(standard != lightYellow);

        f.form.cmd_change->click();
        QCOMPARE(f.form.st.stored_prizes_shown, int16_t(1));
        for (int i = 0; i < Form1::BoxCount; ++i) {
            QCOMPARE(f.form.ans[i]->text(), stored ? QStringLiteral("景品%1").arg(i) : QString());
            QCOMPARE(f.form.ans[i]->palette().color(QPalette::Base), lightYellow);
        }
        QVERIFY(f.showsFirst(f.form.ans, 4));

        f.form.cmd_change->click();
        QCOMPARE(f.form.st.stored_prizes_shown, int16_t(0));
        for (QLineEdit *box : f.form.ans) {
            QVERIFY(box->text().isEmpty());
            QCOMPARE(box->palette().color(QPalette::Base), standard);
        }
        QVERIFY(f.showsFirst(f.form.ans, 4));
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

    // Real key events reach the handler through the event filter, before the box.
    void keyInNameBox()
    {
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(bool, locked);
        QFETCH(bool, toggles);
        EntryForm f(3, 1, 1);
        f.form.man_set();
        f.form.cmd_auto->hide();
        QLineEdit *box = f.form.man[index];
        box->setReadOnly(locked);
        QSignalSpy returns(box, &QLineEdit::returnPressed);

        QTest::keyClick(box, Qt::Key(key));
        QCOMPARE(f.form.cmd_auto->isHidden(), !toggles);
        QTest::keyClick(box, Qt::Key(key));
        QVERIFY(f.form.cmd_auto->isHidden());

        // The box still handles the key itself.
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        QCOMPARE(returns.count(), enter ? 2 : 0);
        if (key == Qt::Key_A)
            QCOMPARE(box->text(), QStringLiteral("aa"));
    }
};

QTEST_MAIN(TestEntryPanel)
#include "tst_entry_panel.moc"
