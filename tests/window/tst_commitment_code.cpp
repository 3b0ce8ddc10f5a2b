// The commitment's code on the window: shown from standby to the last trace unchanged and equal to
// the start of the saved text's SHA-256, read by a screen reader, on the saved picture; the text
// saved only after the last trace and nothing of it on the screen or the clipboard before; each
// lottery and each round its own code.
#include "history_dialog.h"
#include "support/window.h"

#include <QAccessible>
#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTableView>

namespace {

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The code as the room reads it: the hash's first eight digits, in two groups of four.
QString codeOf(const QByteArray &hash)
{
    return QString::fromLatin1(hash.left(4) + '-' + hash.mid(4, 4));
}

QLabel *codeLabel(const Window &w)
{
    return w.label("lbl_code");
}

// What the window says: every label's and box's text, tool tip and accessible name.
QString everythingShown(const Window &w)
{
    QStringList texts;
    for (QWidget *control : w.form->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(control))
            texts << label->text();
        if (auto *box = qobject_cast<QLineEdit *>(control))
            texts << box->text();
        texts << control->toolTip() << control->accessibleName() << control->accessibleDescription();
    }
    return texts.join(u'\n');
}

QString copied(Window &w)
{
    QGuiApplication::clipboard()->clear();
    w.entry("mnu_copy")->trigger();
    return QGuiApplication::clipboard()->text();
}

// 照合用テキストを保存... into the test's folder; the bytes written, none when nothing was.
QByteArray savedText(Window &w, const QString &name)
{
    w.ts.saveDialog->chosen = w.ts.folder.filePath(name);
    w.entry("mnu_saveCommitment")->trigger();
    return QFile::exists(w.ts.saveDialog->chosen) ? fileBytes(w.ts.saveDialog->chosen) : QByteArray();
}

} // namespace

class TestCommitmentCode : public QObject
{
    Q_OBJECT

private slots:
    void sameCodeUntilTheLastTrace_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("winner mode, 2 participants") << kWinnerMode << 2;
        QTest::newRow("lottery mode, 5") << kLotteryMode << 5;
        QTest::newRow("number mode, 37") << kNumberMode << 37;
    }

    // No code before standby; from standby on the same code after every trace, and it is the
    // start of the SHA-256 of the text saved after the last trace, whose whole hash the copied
    // result ends with. A screen reader reads the code.
    void sameCodeUntilTheLastTrace()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        Window w;
        QVERIFY(w.prepare(mode, count));
        QVERIFY(!w.shown(codeLabel(w)));
        QVERIFY(w.standby());
        QVERIFY(w.shown(codeLabel(w)));
        const QString atStandby = codeLabel(w)->text();
        for (int i = 0; i < count; ++i) {
            QCOMPARE(codeLabel(w)->text(), atStandby);
            QVERIFY(!w.entry("mnu_saveCommitment")->isEnabled());
            w.clickName(i);
        }
        QCOMPARE(codeLabel(w)->text(), atStandby);
        QVERIFY(w.entry("mnu_saveCommitment")->isEnabled());
        const QByteArray text = savedText(w, QStringLiteral("check.txt"));
        QVERIFY(!text.isEmpty());
        const QByteArray hash = sha256(text);
        QVERIFY2(atStandby.endsWith(u' ' + codeOf(hash)), qPrintable(atStandby));
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(codeLabel(w));
        QVERIFY(read->text(QAccessible::Name).contains(codeOf(hash)));
        QVERIFY(copied(w).endsWith(u' ' + QString::fromLatin1(hash) + u'\n'));
    }

    // Rows: the draw mode. Before the last trace nothing of the text and none of its nonce (the
    // first the test's nonce source gives) is on the screen, on the clipboard or in a file the
    // save entry would write; the text holds them after it.
    void nothingOfTheTextBefore_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("winner mode") << kWinnerMode;
        QTest::newRow("lottery mode") << kLotteryMode;
    }

    void nothingOfTheTextBefore()
    {
        QFETCH(int, mode);
        Window w;
        QVERIFY(w.prepare(mode, 4));
        const int nonce = w.ts.nonces->taken;
        QVERIFY(w.standby());
        QCOMPARE(w.ts.nonces->taken, nonce + 1);
        CountingNonce same;
        same.taken = nonce;
        const QByteArray nonceHex = same.nonce(16).toHex();
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!everythingShown(w).contains(QString::fromLatin1(nonceHex)));
            QVERIFY(!copied(w).contains(QString::fromLatin1(nonceHex)));
            QCOMPARE(savedText(w, QStringLiteral("early%1.txt").arg(i)), QByteArray());
            w.clickName(i);
        }
        QVERIFY(savedText(w, QStringLiteral("late.txt")).contains(nonceHex));
    }

    // Each standby its own code: a round among those who did not win, the next lottery; both
    // take the code off the window until their standby.
    void eachLotteryItsOwnCode()
    {
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 6, 1));
        QStringList codes;
        QVERIFY(w.standby());
        codes << codeLabel(w)->text();
        w.traceAll();
        w.entry("mnu_round")->trigger();
        QVERIFY(!w.shown(codeLabel(w)));
        QVERIFY(w.standby());
        codes << codeLabel(w)->text();
        w.traceAll();
        w.entry("mnu_next")->trigger();
        QVERIFY(!w.shown(codeLabel(w)));
        QVERIFY(w.standby());
        codes << codeLabel(w)->text();
        codes.removeDuplicates();
        QCOMPARE(codes.size(), 3);
    }

    // The code is on the saved picture (the printout's layout): inside it, and drawn.
    void codeOnThePicture()
    {
        Window w;
        QVERIFY(w.prepare(kNumberMode, 3));
        QVERIFY(w.standby());
        w.traceAll();
        w.ts.saveDialog->chosen = w.ts.folder.filePath(QStringLiteral("result.png"));
        w.entry("mnu_save")->trigger();
        QImage picture(w.ts.saveDialog->chosen);
        QVERIFY(!picture.isNull());
        picture.setDevicePixelRatio(w.form->devicePixelRatioF());
        const QRect where = codeLabel(w)->geometry();
        QVERIFY(QRect(QPoint(), picture.deviceIndependentSize().toSize()).contains(where));
        const QImage part = picture.copy(QRect(where.topLeft() * picture.devicePixelRatio(), where.size() * picture.devicePixelRatio()));
        int dark = 0;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                dark += qGray(part.pixel(x, y)) < 96;
        QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
    }

    // Rows: a lottery completed, and the next one left after one trace (中断). The history window
    // lists each with the code the window showed; only the completed one's text can be saved, and
    // it is the text whose SHA-256 begins with that code.
    void historyWindow_data()
    {
        QTest::addColumn<bool>("completed");
        QTest::newRow("completed") << true;
        QTest::newRow("abandoned") << false;
    }

    void historyWindow()
    {
        QFETCH(bool, completed);
        Window w;
        const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
        w.start().openHistory(path);
        QVERIFY(w.prepare(kNumberMode, 3));
        QStringList codes;
        QVERIFY(w.standby());
        codes << codeLabel(w)->text();
        w.traceAll();
        w.entry("mnu_next")->trigger();
        QVERIFY(w.standby());
        codes << codeLabel(w)->text();
        w.clickName(0);
        w.entry("mnu_next")->trigger();

        History history;
        QVERIFY(history.open(path));
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog dialog(history, save, messenger);
        auto *list = dialog.findChild<QTableView *>(QStringLiteral("lotteries"));
        QCOMPARE(list->model()->rowCount(), 2);
        // Newest first: the abandoned lottery, then the completed one.
        const int row = completed ? 1 : 0;
        const QString shown = codes[completed ? 0 : 1];
        list->selectRow(row);
        QStringList cells;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            cells << list->model()->index(row, column).data().toString();
        QVERIFY2(cells.contains(shown.section(u' ', -1)), qPrintable(cells.join(u',')));
        auto *saveText = dialog.findChild<QPushButton *>(QStringLiteral("saveCommitment"));
        QCOMPARE(saveText->isEnabled(), completed);
        save.chosen = w.ts.folder.filePath(QStringLiteral("from-history.txt"));
        dialog.saveCommitmentText();
        QCOMPARE(QFile::exists(save.chosen), completed);
        if (completed)
            QVERIFY(shown.endsWith(u' ' + codeOf(sha256(fileBytes(save.chosen)))));
    }
};

QTEST_MAIN(TestCommitmentCode)
#include "tst_commitment_code.moc"
