// The window's menu after the draw: copy the result as text, save the window as a picture, go on
// to the next lottery without closing the window, or draw again among those who did not win.
#include "form1.h"
#include "units.h"
#include "settings/settings_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

namespace {

QAction *menuEntry(QMenu *menu, const QString &caption, const QKeySequence &keys)
{
    QAction *action = menu->addAction(caption);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

void Form1::createResultMenu()
{
    resultMenu = new QMenu(this);
    resultMenu->setObjectName(QStringLiteral("resultMenu"));
    mnu_import = menuEntry(resultMenu, QStringLiteral("名簿を読み込む..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnu_import->setObjectName(QStringLiteral("mnu_import"));
    resultMenu->addSeparator();
    mnu_copy = menuEntry(resultMenu, QStringLiteral("結果をコピー"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    mnu_save = menuEntry(resultMenu, QStringLiteral("画像として保存..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mnu_next = menuEntry(resultMenu, QStringLiteral("次の抽選"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    mnu_round = menuEntry(resultMenu, QStringLiteral("はずれの人で次の抽選"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    mnu_copy->setObjectName(QStringLiteral("mnu_copy"));
    mnu_save->setObjectName(QStringLiteral("mnu_save"));
    mnu_next->setObjectName(QStringLiteral("mnu_next"));
    mnu_round->setObjectName(QStringLiteral("mnu_round"));
    resultMenu->addSeparator();
    mnu_history = menuEntry(resultMenu, QStringLiteral("履歴..."), QKeySequence(Qt::CTRL | Qt::Key_H));
    mnu_history->setObjectName(QStringLiteral("mnu_history"));
    // The accelerators work without the menu too, wherever the focus is in the window.
    for (QAction *action : {mnu_import, mnu_copy, mnu_save, mnu_next, mnu_round, mnu_history})
        addAction(action);
    connect(mnu_history, &QAction::triggered, this, [this] { handle([this] { mnu_history_Click(); }); });
    connect(mnu_import, &QAction::triggered, this, [this] { handle([this] { mnu_import_Click(); }); });
    connect(mnu_copy, &QAction::triggered, this, [this] { handle([this] { mnu_copy_Click(); }); });
    connect(mnu_save, &QAction::triggered, this, [this] { handle([this] { mnu_save_Click(); }); });
    connect(mnu_next, &QAction::triggered, this, [this] { handle([this] { mnu_next_Click(); }); });
    connect(mnu_round, &QAction::triggered, this, [this] { handle([this] { mnu_round_Click(); }); });
    createViewMenu();
    connect(resultMenu, &QMenu::aboutToShow, this, &Form1::updateMenuEntries);
    updateMenuEntries();
    // The keyboard's menu keys open this menu wherever the focus is, the boxes included.
    for (const QKeySequence &keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            QWidget *focus = focusWidget() ? focusWidget() : this;
            showResultMenu(focus->mapToGlobal(QPoint(0, focus->height())));
        });
    }
}

void Form1::updateMenuEntries()
{
    mnu_import->setEnabled(!lottery.ready());
    mnu_history->setEnabled(history != nullptr);
    mnu_copy->setEnabled(lottery.allTraced());
    mnu_save->setEnabled(lottery.allTraced());
    mnu_next->setEnabled(lottery.ready());
    mnu_round->setEnabled(lottery.roundPossible());
    // Zoom steps while the window is not full screen, each while it changes something.
    const int zoom = qRound(view.scale * 100);
    const int larger = nextZoom(zoom, 1);
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize();
    mnu_fullScreen->setChecked(isFullScreen());
    mnu_zoomIn->setEnabled(!isFullScreen() && larger > zoom
                           && fittingZoom(larger, contentSize(), frameExtra(), available) == larger);
    mnu_zoomOut->setEnabled(!isFullScreen() && zoom > kZoomSteps.front());
    mnu_zoomReset->setEnabled(!isFullScreen() && zoom != kZoomSteps.front());
    leaveFullScreen->setEnabled(isFullScreen());
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    showResultMenu(event->globalPos());
}

void Form1::showResultMenu(const QPoint &globalPosition)
{
    resultMenu->popup(globalPosition);
}

void Form1::mnu_copy_Click()
{
    if (!lottery.allTraced())
        return;
    QGuiApplication::clipboard()->setText(lottery.resultSummary(stampText));
}

void Form1::mnu_save_Click()
{
    if (!lottery.allTraced())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString proposed = QDir(folder).filePath(
        QStringLiteral("あみだくじ_%1.png").arg(stampTime.toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    const QString path = paused([&] {
        return seams.saveDialog->choose(this, proposed, QStringLiteral("画像として保存"),
                                        QStringLiteral("PNG 画像 (*.png)"));
    });
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && resultPicture().save(&file, "PNG") && file.commit();
    if (!saved) {
        const QString reason = file.errorString().isEmpty() ? QStringLiteral("PNG に変換できませんでした") : file.errorString();
        showMessage(QStringLiteral("画像ファイル %1 を保存できませんでした。\n理由: %2")
                        .arg(QDir::toNativeSeparators(path), reason));
    }
}

// The window as printing lays it out, drawn apart from the live window, which keeps its size.
QImage Form1::resultPicture()
{
    const QSize size = printSize();
    QImage picture(size * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(palette().color(QPalette::Window));
    atActualSize([&] {
        render(&picture, QPoint(), QRegion(QRect(QPoint(), size)));
        return true;
    });
    return picture;
}

// Asks first while paths are still untraced; the settings file is not written.
void Form1::mnu_next_Click()
{
    if (!lottery.ready())
        return;
    if (!lottery.allTraced() && !ask(QStringLiteral("まだ全員の結果が出ていません。次の抽選に進みますか？")))
        return;
    startNextLottery(lottery.nextLottery());
}

// Those who did not win draw again; the settings file is not written.
void Form1::mnu_round_Click()
{
    if (const std::optional<Startup> opening = lottery.nextRound())
        startNextLottery(*opening);
}

// The controls are made anew, so that every caption, colour, lock and visibility is the one a new
// start gives; the lottery has started afresh, from the lines standby stored.
void Form1::startNextLottery(const Startup &opening)
{
    abandonRecord();
    tmr_1->stop();
    for (QWidget *control : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control != resultMenu)
            delete control;
    }
    delete tmr_1;
    printer.reset();
    printSelectionDisabled = false;
    stampTime = QDateTime();
    stampText.clear();

    makeControls();
    // The width a new start opens with (printing widened the window).
    requestedOuterWidth = 0;
    applyView();
    showStartup(opening);
    // Controls made after the window was shown appear only when shown themselves.
    for (QWidget *control : findChildren<QWidget *>()) {
        if (!control->isWindow() && !control->testAttribute(Qt::WA_WState_ExplicitShowHide))
            control->show();
    }
    // The focus goes where a newly shown window puts it, to the first control in the keyboard order.
    if (isActiveWindow())
        focusNextPrevChild(true);
    update();
}
