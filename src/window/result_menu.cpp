// The window's menu after the draw: copy the result as text, save the window as a picture, go on
// to the next lottery without closing the window, or draw again among those who did not win.
#include "box_look.h"
#include "form1.h"
#include "units.h"
#include "settings/settings_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

namespace {

QAction *menuEntry(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

void Form1::createResultMenu()
{
    resultMenu = new QMenu(this);
    resultMenu->setObjectName(QStringLiteral("resultMenu"));
    resultMenu->setAccessibleName(QStringLiteral("ウィンドウのメニュー"));
    mnu_import = menuEntry(resultMenu, "mnu_import", QStringLiteral("名簿を読み込む..."), {Qt::CTRL | Qt::Key_O});
    mnu_undo = menuEntry(resultMenu, "mnu_undo", QStringLiteral("元に戻す"), {Qt::CTRL | Qt::Key_Z});
    resultMenu->addSeparator();
    mnu_copy = menuEntry(resultMenu, "mnu_copy", QStringLiteral("結果をコピー"), {Qt::CTRL | Qt::SHIFT | Qt::Key_C});
    mnu_save = menuEntry(resultMenu, "mnu_save", QStringLiteral("画像として保存..."), {Qt::CTRL | Qt::SHIFT | Qt::Key_S});
    mnu_next = menuEntry(resultMenu, "mnu_next", QStringLiteral("次の抽選"), {Qt::CTRL | Qt::SHIFT | Qt::Key_N});
    mnu_round = menuEntry(resultMenu, "mnu_round", QStringLiteral("はずれの人で次の抽選"), {Qt::CTRL | Qt::SHIFT | Qt::Key_R});
    resultMenu->addSeparator();
    mnu_history = menuEntry(resultMenu, "mnu_history", QStringLiteral("履歴..."), {Qt::CTRL | Qt::Key_H});
    // Showing the window to a room.
    resultMenu->addSeparator();
    mnu_fullScreen = menuEntry(resultMenu, "mnu_fullScreen", QStringLiteral("全画面表示"), {Qt::Key_F11});
    mnu_fullScreen->setCheckable(true);
    mnu_zoomIn = menuEntry(resultMenu, "mnu_zoomIn", QStringLiteral("拡大"), {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    mnu_zoomOut = menuEntry(resultMenu, "mnu_zoomOut", QStringLiteral("縮小"), {Qt::CTRL | Qt::Key_Minus});
    mnu_zoomReset = menuEntry(resultMenu, "mnu_zoomReset", QStringLiteral("100%"), {Qt::CTRL | Qt::Key_0});
    // The accelerators work without the menu too, wherever the focus is in the window.
    addActions(resultMenu->actions());
    onTriggered(mnu_import, &Form1::mnu_import_Click);
    onTriggered(mnu_undo, &Form1::mnu_undo_Click);
    onTriggered(mnu_copy, &Form1::mnu_copy_Click);
    onTriggered(mnu_save, &Form1::mnu_save_Click);
    onTriggered(mnu_next, &Form1::mnu_next_Click);
    onTriggered(mnu_round, &Form1::mnu_round_Click);
    onTriggered(mnu_history, &Form1::mnu_history_Click);
    onTriggered(mnu_fullScreen, &Form1::mnu_fullScreen_Click);
    onTriggered(mnu_zoomIn, &Form1::mnu_zoomIn_Click);
    onTriggered(mnu_zoomOut, &Form1::mnu_zoomOut_Click);
    onTriggered(mnu_zoomReset, &Form1::mnu_zoomReset_Click);
    // Esc leaves full screen; it is left to the boxes and dialogs otherwise (enabled only then).
    leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(leaveFullScreen, &QShortcut::activated, this, [this] {
        handle([this] {
            if (isFullScreen())
                mnu_fullScreen_Click();
        });
    });
    connect(resultMenu, &QMenu::aboutToShow, this, &Form1::updateMenuEntries);
    updateMenuEntries();
    // The keyboard's menu keys open this menu wherever the focus is, the boxes included.
    for (const QKeySequence &keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            QWidget *focus = focusWidget() ? focusWidget() : this;
            showResultMenu(focus->mapToGlobal(QPoint(0, focus->height())));
            // From the keyboard the first entry that can be chosen is highlighted at once.
            for (QAction *entry : resultMenu->actions()) {
                if (entry->isEnabled() && !entry->isSeparator()) {
                    resultMenu->setActiveAction(entry);
                    break;
                }
            }
        });
    }
}

void Form1::updateMenuEntries()
{
    mnu_import->setEnabled(!lottery.ready());
    mnu_undo->setEnabled(lottery.canRestoreEntries());
    mnu_history->setEnabled(recorder.history() != nullptr);
    mnu_copy->setEnabled(lottery.allTraced());
    mnu_save->setEnabled(lottery.allTraced());
    mnu_next->setEnabled(lottery.ready());
    mnu_round->setEnabled(lottery.roundPossible());
    // Zoom steps while the window is not full screen, each while it changes something.
    const int zoom = shownZoom();
    const int larger = nextZoom(zoom, 1);
    mnu_fullScreen->setChecked(isFullScreen());
    mnu_zoomIn->setEnabled(!isFullScreen() && larger > zoom && zoomThatFits(larger) == larger);
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
    atActualSize([&] { render(&picture, QPoint(), QRegion(QRect(QPoint(), size))); });
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

// The same controls go back to the entry phase, so that screen readers and kept pointers keep
// their objects: what the lottery before left on them (the prizes reached, the automatic run,
// the stamp, the printer, what was announced) is cleared, then the new lottery's opening is shown
// as a new start shows it, and the keyboard is at the first name.
void Form1::startNextLottery(const Startup &opening)
{
    recorder.abandon();
    tmr_1->stop();
    printer.reset();
    printSelectionDisabled = false;
    stampTime = QDateTime();
    stampText.clear();
    for (QLineEdit *box : ans) {
        setBoxText(box, QString());
        box->setMaxLength(kBoxTypingLimit);
        setTextColor(box, kPlainTextColor);
        setBackColor(box, kSystemWindowColor);
    }
    setBackColor(cmd_standby, kSystemButtonFace);
    lbl_status->clear();
    lbl_status->setAccessibleName(kStatusLineName);

    // The width a new start opens with (printing widened the window).
    requestedOuterWidth = 0;
    applyView();
    showStartup(opening);
    showPhase();
    focusFirstName();
    update();
}
