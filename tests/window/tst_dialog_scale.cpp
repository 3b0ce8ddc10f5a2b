// Messages, dialogs and the window's menu: the desktop's look at 100 % (never smaller), larger above.
#include "dialog_scale.h"
#include "history_dialog.h"
#include "message_box.h"
#include "name_preview_dialog.h"
#include "support/window.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>

namespace {

enum class Kind { Message, Question, Error, NamePreview, History, Menu };

// A new dialog over `over`, or none for the window's menu.
std::unique_ptr<QWidget> makeSurface(Kind surface, QWidget *over, History &history, TestSeams &ts)
{
    const QString text = QStringLiteral("名簿を読み込めませんでした。");
    names::NameListRead read;
    read.names = QStringList{QStringLiteral("青木"), QStringLiteral("石田")};
    read.lines = {1, 2};
    switch (surface) {
    case Kind::Message: return makeMessageBox(over, text, QMessageBox::Ok);
    case Kind::Question: return makeMessageBox(over, text, QMessageBox::Yes | QMessageBox::No);
    case Kind::Error: return makeMessageBox(over, text, QMessageBox::Ok, QMessageBox::Warning, QStringLiteral("エラー"));
    case Kind::History: return std::make_unique<HistoryDialog>(history, *ts.saveDialog, *ts.messenger, over);
    case Kind::NamePreview: return std::make_unique<NamePreviewDialog>(QStringLiteral("names.txt"), read, over);
    case Kind::Menu: break;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestDialogScale : public QObject
{
    Q_OBJECT

private slots:
    // Each surface over the window at 100 %, zoomed in or in full screen, and at 100 % again.
    void surfaces_data()
    {
        QTest::addColumn<Kind>("surface");
        QTest::addColumn<bool>("fullScreen");
        const QList<QPair<const char *, Kind>> surfaces{{"message", Kind::Message}, {"question", Kind::Question},
            {"error", Kind::Error}, {"name preview", Kind::NamePreview}, {"history", Kind::History}, {"menu", Kind::Menu}};
        for (const auto &[name, surface] : surfaces)
            QTest::addRow("%s, zoomed in", name) << surface << false;
        QTest::addRow("menu, full screen") << Kind::Menu << true;
    }

    void surfaces()
    {
        QFETCH(Kind, surface);
        QFETCH(bool, fullScreen);
        Window w;
        w.start();
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        History history;
        history.open(w.ts.folder.filePath(QStringLiteral("history.sqlite")));
        std::unique_ptr<QWidget> made;
        const auto shown = [&] {
            made = makeSurface(surface, w.form.get(), history, w.ts);
            return made ? made.get() : w.form->findChild<QMenu *>(QStringLiteral("windowMenu"));
        };
        const double boxAtDesktop = w.nameBox(0)->font().pointSizeF();
        QWidget *seen = shown();
        const QFont desktop = QApplication::font(seen);
        const QSize sizeAtDesktop = seen->sizeHint();
        QCOMPARE(seen->font(), desktop);
        QVERIFY(!seen->testAttribute(Qt::WA_SetFont));
        w.entry(fullScreen ? "mnu_fullScreen" : "mnu_zoomIn")->trigger();
        if (fullScreen)
            QTRY_COMPARE(w.form->size(), w.form->screen()->size());
        const double scale = w.nameBox(0)->font().pointSizeF() / boxAtDesktop;
        QVERIFY(scale > 1);
        QCOMPARE(shownScale(w.form.get()), scale);
        seen = shown();
        QCOMPARE(seen->font().pointSizeF(), desktop.pointSizeF() * scale);
        QCOMPARE(seen->font().family(), desktop.family());
        QVERIFY(seen->sizeHint().width() > sizeAtDesktop.width() && seen->sizeHint().height() > sizeAtDesktop.height());
        w.entry(fullScreen ? "mnu_fullScreen" : "mnu_zoomReset")->trigger();
        QTRY_COMPARE(shownScale(w.form.get()), 1.0);
        seen = shown();
        QCOMPARE(seen->font(), desktop);
        QVERIFY(!seen->testAttribute(Qt::WA_SetFont));
        QCOMPARE(seen->sizeHint(), sizeAtDesktop);
    }

    // Over a window noted below 100 %, a message keeps the desktop's look.
    void neverSmaller()
    {
        QWidget window;
        setShownScale(&window, 0.75);
        const auto box = makeMessageBox(&window, QStringLiteral("名簿"), QMessageBox::Ok);
        QCOMPARE(box->font(), QApplication::font(box.get()));
    }
};

QTEST_MAIN(TestDialogScale)
#include "tst_dialog_scale.moc"
