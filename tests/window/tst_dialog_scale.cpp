// Messages, the name preview, the history window and the window's menu at the window's scale:
// the desktop's look at 100 % (and never smaller), larger by the view's scale in full screen and
// zoomed in; the window notes its scale as its view changes.
#include "dialog_scale.h"
#include "history_dialog.h"
#include "message_box.h"
#include "name_preview_dialog.h"
#include "support/window.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>

namespace {

enum class Kind { Message, Question, Error, NamePreview, History };

std::unique_ptr<QWidget> makeSurface(Kind surface, QWidget *parent, History &history, SaveDialog &save,
                                     Messenger &messenger)
{
    const QString text = QStringLiteral("名簿を読み込めませんでした。");
    switch (surface) {
    case Kind::Message:
        return makeMessageBox(parent, text, QMessageBox::Ok);
    case Kind::Question:
        return makeMessageBox(parent, text, QMessageBox::Yes | QMessageBox::No);
    case Kind::Error:
        return makeMessageBox(parent, text, QMessageBox::Ok, QMessageBox::Warning, QStringLiteral("エラー"));
    case Kind::NamePreview: {
        names::NameListRead read;
        read.names = QStringList{QStringLiteral("青木"), QStringLiteral("石田")};
        read.lines = {1, 2};
        return std::make_unique<NamePreviewDialog>(QStringLiteral("names.txt"), read, parent);
    }
    case Kind::History:
        return std::make_unique<HistoryDialog>(history, save, messenger, parent);
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestDialogScale : public QObject
{
    Q_OBJECT

private slots:
    // Each surface over a window noted at a scale: at 1 or below, the desktop's font and nothing
    // set; above, the desktop's font that many times as large, and the surface larger with it.
    void surfaces_data()
    {
        QTest::addColumn<Kind>("surface");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("expected");
        const QList<QPair<const char *, Kind>> surfaces{{"message", Kind::Message},
                                                           {"question", Kind::Question},
                                                           {"error", Kind::Error},
                                                           {"name preview", Kind::NamePreview},
                                                           {"history", Kind::History}};
        for (const auto &[name, surface] : surfaces) {
            QTest::addRow("%s, below 1", name) << surface << 0.75 << 1.0;
            QTest::addRow("%s, at 1", name) << surface << 1.0 << 1.0;
            QTest::addRow("%s, at 2", name) << surface << 2.0 << 2.0;
        }
        QTest::addRow("message, just above 1") << Kind::Message << 1.25 << 1.25;
    }

    void surfaces()
    {
        QFETCH(Kind, surface);
        QFETCH(double, scale);
        QFETCH(double, expected);
        QTemporaryDir folder;
        History history;
        history.open(folder.filePath(QStringLiteral("history.sqlite")));
        TestSeams ts;
        QWidget plain;
        QWidget scaled;
        setShownScale(&scaled, scale);
        const std::unique_ptr<QWidget> atDesktop = makeSurface(surface, &plain, history, *ts.saveDialog, *ts.messenger);
        const std::unique_ptr<QWidget> atScale = makeSurface(surface, &scaled, history, *ts.saveDialog, *ts.messenger);
        const QFont desktop = QApplication::font(atDesktop.get());
        QCOMPARE(atDesktop->font(), desktop);
        QVERIFY(!atDesktop->testAttribute(Qt::WA_SetFont));
        QCOMPARE(atScale->font().pointSizeF(), desktop.pointSizeF() * expected);
        QCOMPARE(atScale->font().family(), desktop.family());
        if (expected > 1) {
            QVERIFY(atScale->sizeHint().width() > atDesktop->sizeHint().width());
            QVERIFY(atScale->sizeHint().height() > atDesktop->sizeHint().height());
        } else {
            QCOMPARE(atScale->sizeHint(), atDesktop->sizeHint());
        }
    }

    // The window's menu and what the window notes for its dialogs follow the zoom and full screen,
    // by as much as the window's own boxes grow, and go back to the desktop's at 100 %.
    void windowFollowsItsView_data()
    {
        QTest::addColumn<int>("zoomSteps");
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("100 %") << 0 << false;
        QTest::newRow("one step up") << 1 << false;
        QTest::newRow("two steps up") << 2 << false;
        QTest::newRow("full screen") << 0 << true;
    }

    void windowFollowsItsView()
    {
        QFETCH(int, zoomSteps);
        QFETCH(bool, fullScreen);
        Window w;
        w.start();
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        const double boxAtDesktop = w.nameBox(0)->font().pointSizeF();
        auto *menu = w.form->findChild<QMenu *>(QStringLiteral("windowMenu"));
        const QFont menuAtDesktop = QApplication::font(menu);
        for (int i = 0; i < zoomSteps; ++i)
            w.entry("mnu_zoomIn")->trigger();
        if (fullScreen) {
            w.entry("mnu_fullScreen")->trigger();
            QTRY_COMPARE(w.form->size(), w.form->screen()->size());
        }
        const double scale = w.nameBox(0)->font().pointSizeF() / boxAtDesktop;
        QCOMPARE(scale > 1, zoomSteps > 0 || fullScreen);
        QCOMPARE(shownScale(w.form.get()), scale);
        QCOMPARE(menu->font().pointSizeF(), menuAtDesktop.pointSizeF() * scale);

        // Back at 100 %: the desktop's menu, unset.
        if (fullScreen)
            w.entry("mnu_fullScreen")->trigger();
        w.entry("mnu_zoomReset")->trigger();
        QTRY_COMPARE(shownScale(w.form.get()), 1.0);
        QCOMPARE(menu->font(), menuAtDesktop);
        QVERIFY(!menu->testAttribute(Qt::WA_SetFont));
    }
};

QTEST_MAIN(TestDialogScale)
#include "tst_dialog_scale.moc"
