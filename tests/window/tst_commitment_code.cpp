// The code on the window from standby to the last trace, nothing of its text before; the history window's code.
#include "commitment/commitment.h"
#include "history_dialog.h"
#include "ladder/path.h"
#include "support/window.h"

#include <QAccessible>
#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QTableView>

namespace {

// The code as the room reads it: the SHA-256's first eight digits in two groups of four.
QString codeOf(const QByteArray &bytes)
{
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return QString::fromLatin1(hash.left(4) + '-' + hash.mid(4, 4));
}

// Every label's and box's text, tool tip and accessible name.
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
    void sameCodeNothingBefore_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("winner mode, 2 participants") << kWinnerMode << 2;
        QTest::newRow("lottery mode, 5") << kLotteryMode << 5;
        QTest::newRow("number mode, 37") << kNumberMode << 37;
    }

    // The code unchanged to the last trace, no text or nonce before; then the text's SHA-256 begins with it, its results announced.
    void sameCodeNothingBefore()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        Window w;
        QVERIFY(w.prepare(mode, count));
        QLabel *code = w.label("lbl_code");
        QVERIFY(!w.shown(code));
        const QString nonce = QString::fromLatin1(w.ts.nonces->nextHex());
        QVERIFY(w.standby());
        QVERIFY(w.shown(code));
        const QString atStandby = code->text();
        for (int i = 0; i < count; ++i) {
            QCOMPARE(code->text(), atStandby);
            QVERIFY(!everythingShown(w).contains(nonce));
            QVERIFY(!copied(w).contains(nonce));
            QCOMPARE(savedText(w, QStringLiteral("early%1.txt").arg(i)), QByteArray());
            w.clickName(i);
        }
        QCOMPARE(code->text(), atStandby);
        const QByteArray text = savedText(w, QStringLiteral("check.txt"));
        QVERIFY(text.contains(nonce.toLatin1()));
        QVERIFY2(atStandby.endsWith(u' ' + codeOf(text)), qPrintable(atStandby));
        QVERIFY(QAccessible::queryAccessibleInterface(code)->text(QAccessible::Name).contains(codeOf(text)));
        const QByteArray hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
        const QString summary = copied(w);
        QVERIFY(summary.endsWith(u' ' + QString::fromLatin1(hash) + u'\n'));
        const commitment::Reading read = commitment::readText(text);
        QVERIFY2(read.content && read.content->rows.size() == count, qPrintable(read.error));
        for (const commitment::Row &row : read.content->rows)
            QVERIFY2(summary.contains(u'\n' + row.name + ladder::kResultSeparator + row.result + u'\n'), qPrintable(summary));
    }

    // A lottery completed and the next left after one trace: each listed with its own code, only the first's text saved.
    void historyWindow()
    {
        Window w;
        const QString path = w.ts.folder.filePath(QStringLiteral("history.sqlite3"));
        w.start().openHistory(path);
        QVERIFY(w.prepare(kNumberMode, 3));
        QVERIFY(w.standby());
        QStringList codes{w.label("lbl_code")->text()};
        w.traceAll();
        w.entry("mnu_next")->trigger();
        QVERIFY(w.standby());
        codes << w.label("lbl_code")->text();
        QVERIFY(codes[0] != codes[1]);
        w.clickName(0);
        w.entry("mnu_next")->trigger();
        History history;
        QVERIFY(history.open(path));
        FakeSaveDialog save;
        RecordingMessenger messenger;
        HistoryDialog dialog(history, save, messenger);
        auto *list = dialog.findChild<QTableView *>(QStringLiteral("lotteries"));
        QCOMPARE(list->model()->rowCount(), 2);
        for (const bool completed : {true, false}) {
            const int row = completed ? 1 : 0; // newest first
            list->selectRow(row);
            QStringList cells;
            for (int column = 0; column < list->model()->columnCount(); ++column)
                cells << list->model()->index(row, column).data().toString();
            QVERIFY2(cells.contains(codes[row ^ 1].section(u' ', -1)), qPrintable(cells.join(u',')));
            QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("saveCommitment"))->isEnabled(), completed);
            save.chosen = w.ts.folder.filePath(QStringLiteral("from-history%1.txt").arg(row));
            dialog.saveCommitmentText();
            QCOMPARE(QFile::exists(save.chosen), completed);
            QVERIFY(!completed || codes[0].endsWith(u' ' + codeOf(fileBytes(save.chosen))));
        }
    }
};

QTEST_MAIN(TestCommitmentCode)
#include "tst_commitment_code.moc"
