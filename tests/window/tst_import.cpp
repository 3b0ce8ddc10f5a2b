// A list of names brought in through "名簿を読み込む": the names into the boxes with the counts that
// follow, a cancelled preview or dialog changing nothing, a file without a list named in a
// message, and what the preview marks.
#include "name_preview_dialog.h"
#include "support/window.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the file's names (none: no file), the group's counts before, whether the dialog and
    // the preview say yes, the standby done first; the count and winners after, the message, and
    // the preview's notes past the 37 boxes (a name that goes into a box has none here).
    void importFromMenu_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("winners");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("afterStandby");
        QTest::addColumn<int>("countAfter");
        QTest::addColumn<int>("winnersAfter");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QStringList>("notes");
        // Past the boxes: a repeat of the first name, a character the settings file cannot hold,
        // a name wider than a name box.
        QStringList forty;
        for (int i = 1; i <= 37; ++i)
            forty << QStringLiteral("N%1").arg(i);
        forty << "N1" << "花子😀" << "寿限無寿限無五劫の擦り切れ";
        const QStringList notes{"38人目以降は入りません、同じ名前があります",
                                "38人目以降は入りません、保存できない文字→「花子〓」",
                                "38人目以降は入りません、欄に収まりきりません"};
        const QStringList three{"山田", "佐藤", "鈴木"};
        QTest::newRow("40 names: the first 37") << forty << 5 << 3 << true << true << false << 37 << 3 << false << notes;
        QTest::newRow("3 names: the winners follow") << three << 10 << 9 << true << true << false << 3 << 2 << false << QStringList();
        QTest::newRow("1 name: 2 rows") << QStringList{"山田"} << 5 << 1 << true << true << false << 2 << 1 << false << QStringList();
        QTest::newRow("preview cancelled") << three << 5 << 1 << true << false << false << 5 << 1 << false << QStringList();
        QTest::newRow("dialog cancelled") << three << 5 << 1 << false << true << false << 5 << 1 << false << QStringList();
        QTest::newRow("missing file") << QStringList() << 5 << 1 << true << true << false << 5 << 1 << true << QStringList();
        QTest::newRow("after standby") << three << 5 << 1 << true << true << true << 5 << 1 << false << QStringList();
    }

    void importFromMenu()
    {
        QFETCH(QStringList, list);
        QFETCH(int, count);
        QFETCH(int, winners);
        QFETCH(bool, chosen);
        QFETCH(bool, taken);
        QFETCH(bool, afterStandby);
        QFETCH(int, countAfter);
        QFETCH(int, winnersAfter);
        QFETCH(bool, message);
        QFETCH(QStringList, notes);
        Window w;
        QVERIFY(w.prepare(kWinnerMode, count, winners));
        w.memo()->setText(QStringLiteral("三年二組"));
        if (afterStandby)
            QVERIFY(w.standby());
        const QByteArray settings = w.written();
        const QString path = w.ts.folder.filePath(QStringLiteral("名簿.csv"));
        if (!list.isEmpty())
            QVERIFY(writeBytes(path, (QStringLiteral("氏名\r\n") + list.join(QStringLiteral("\r\n"))).toUtf8()));
        QStringList before;
        for (int i = 0; i < kBoxCount; ++i)
            before << w.nameBox(i)->text();
        w.ts.openDialog->chosen = chosen ? path : QString();
        w.ts.namePreview->take = taken;

        // Ctrl+O, as a shortcut of the shown window.
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        QTest::keyClick(w.form.get(), Qt::Key_O, Qt::ControlModifier);

        QCOMPARE(w.ts.openDialog->shown, afterStandby ? 0 : 1);
        const bool previewed = chosen && !list.isEmpty() && !afterStandby;
        const QStringList &shown = w.ts.namePreview->shownNames;
        QCOMPARE(shown, previewed ? list : QStringList());
        QCOMPARE(NamePreviewDialog::notes(w.ts.namePreview->shown), QStringList(qMin<qsizetype>(shown.size(), kBoxCount), QString()) + notes);
        QCOMPARE(w.participants(), countAfter);
        QCOMPARE(w.winners(), winnersAfter);
        for (int i = 0; i < kBoxCount; ++i)
            QCOMPARE(w.nameBox(i)->text(), previewed && taken ? list.value(i) : before[i]);
        QCOMPARE(w.memo()->text(), QStringLiteral("三年二組"));
        QCOMPARE(w.written(), settings);
        QCOMPARE(w.messages(), message ? QStringList{QStringLiteral("名簿 %1 を読み込めませんでした。\n理由: ファイルが見つかりません。").arg(path)}
                                       : QStringList());
    }

    // A .txt or .csv file dropped on the window (or on a box in it) opens the preview once the
    // drop is over; other files are not taken.
    void droppedFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("onBox");
        QTest::addColumn<bool>("taken");
        QTest::newRow("csv on the window") << "名簿.csv" << false << true;
        QTest::newRow("TXT on a name box") << "NAMES.TXT" << true << true;
        QTest::newRow("tsv on a name box") << "名簿.tsv" << true << true;
        QTest::newRow("a picture") << "photo.png" << false << false;
        QTest::newRow("a picture on a name box") << "photo.png" << true << false;
        QTest::newRow("two lists") << "a.csv|b.csv" << false << false;
    }

    void droppedFile()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, onBox);
        QFETCH(bool, taken);
        Window w;
        QVERIFY(w.prepare(kWinnerMode, 2));
        QList<QUrl> urls;
        for (const QString &name : fileName.split(u'|')) {
            const QString path = w.ts.folder.filePath(name);
            QVERIFY(writeBytes(path, "山田\n佐藤\n鈴木\n"));
            urls << QUrl::fromLocalFile(path);
        }
        QMimeData mime;
        mime.setUrls(urls);
        QWidget *target = onBox ? static_cast<QWidget *>(w.nameBox(0)) : w.form.get();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);

        // Anything but one list file is a short message, and the box keeps its text.
        QTRY_COMPARE(w.ts.namePreview->paths.size() + w.messages().size(), 1);
        QCOMPARE(w.ts.namePreview->paths, taken ? QStringList{urls.first().toLocalFile()} : QStringList());
        QCOMPARE(w.messages().size(), taken ? 0 : 1);
        QCOMPARE(w.participants(), taken ? 3 : 2);
        QCOMPARE(w.nameBox(0)->text(), taken ? QStringLiteral("山田") : QStringLiteral("N0"));
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
