// The window's menu after the draw: copy the result as text, save the window as a picture, go on
// to the next lottery without closing the window, or draw again among those who did not win.
#include "box_look.h"
#include "form1.h"
#include "save_file.h"
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
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

// The entries made and enabled by the actions, connected to their handlers here.
void Form1::createWindowMenu()
{
    actions = new WindowActions(this);
    onTriggered(actions->importList, &Form1::mnu_import_Click);
    onTriggered(actions->undo, &Form1::mnu_undo_Click);
    onTriggered(actions->copy, &Form1::mnu_copy_Click);
    onTriggered(actions->save, &Form1::mnu_save_Click);
    onTriggered(actions->saveCommitment, &Form1::mnu_saveCommitment_Click);
    onTriggered(actions->next, &Form1::mnu_next_Click);
    onTriggered(actions->round, &Form1::mnu_round_Click);
    onTriggered(actions->history, &Form1::mnu_history_Click);
    onTriggered(actions->fullScreen, &Form1::mnu_fullScreen_Click);
    onTriggered(actions->zoomIn, &Form1::mnu_zoomIn_Click);
    onTriggered(actions->zoomOut, &Form1::mnu_zoomOut_Click);
    onTriggered(actions->zoomReset, &Form1::mnu_zoomReset_Click);
    onTriggered(actions->sound, &Form1::mnu_sound_Click);
    onTriggered(actions->show, &Form1::mnu_show_Click);
    onTriggered(actions->traceAll, &Form1::mnu_traceAll_Click);
    for (size_t i = 0; i < actions->speeds.size(); ++i) {
        connect(actions->speeds[i], &QAction::triggered, this,
                [this, i] { handle([this, i] { mnu_speed_Click(ladder::RunSpeed(i)); }); });
    }
    connect(actions->leaveFullScreen, &QShortcut::activated, this, [this] {
        handle([this] {
            if (isFullScreen())
                mnu_fullScreen_Click();
        });
    });
    connect(actions, &WindowActions::aboutToShow, this, &Form1::updateMenuEntries);
    connect(actions, &WindowActions::menuKeyPressed, this, [this] {
        updateMenuEntries();
        QWidget *focus = focusWidget() ? focusWidget() : this;
        actions->popup(focus->mapToGlobal(QPoint(0, focus->height())), true);
    });
    updateMenuEntries();
}

// What the entries follow: the lottery's phase, the history, the view.
void Form1::updateMenuEntries()
{
    const int zoom = windowView.shownZoom();
    const int larger = nextZoom(zoom, 1);
    WindowActions::Situation now;
    now.ready = lottery.ready();
    now.allTraced = lottery.allTraced();
    now.roundPossible = lottery.roundPossible();
    now.canUndo = lottery.canRestoreEntries();
    now.historyOpen = recorder.history() != nullptr;
    now.fullScreen = isFullScreen();
    // Zoom steps while the window is not full screen, each while it changes something.
    now.canZoomIn = !isFullScreen() && larger > zoom && windowView.zoomThatFits(larger) == larger;
    now.canZoomOut = !isFullScreen() && zoom > kZoomSteps.front();
    now.canZoomReset = !isFullScreen() && zoom != kZoomSteps.front();
    now.soundOn = sounds->isOn();
    now.showOn = windowView.showOn();
    now.speed = int(windowView.runSpeed());
    now.pathsLeft = lottery.ready() && !lottery.allTraced();
    actions->update(now);
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    actions->popup(event->globalPos(), false);
}

void Form1::mnu_copy_Click()
{
    finishRunningPath();
    if (!lottery.allTraced())
        return;
    QGuiApplication::clipboard()->setText(lottery.resultSummary(stampText));
}

void Form1::mnu_save_Click()
{
    finishRunningPath();
    if (!lottery.allTraced())
        return;
    saveChosenFile(QStandardPaths::PicturesLocation, QStringLiteral("あみだくじ_%1.png"), QStringLiteral("画像として保存"),
                   QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("画像ファイルを保存できませんでした。"),
                   [this](QIODevice &out) { return resultPicture().save(&out, "PNG"); });
}

// Asks where, proposing a name with the stamp's time in the folder for that kind of file, then
// saves; a failure is a message naming the file.
void Form1::saveChosenFile(QStandardPaths::StandardLocation folder, const QString &name, const QString &title,
                           const QString &filter, const QString &failure, const std::function<bool(QIODevice &)> &write)
{
    const QString proposed = QDir(QStandardPaths::writableLocation(folder))
                                 .filePath(name.arg(stampTime.toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    const QString path = paused([&] { return seams.saveDialog->choose(this, proposed, title, filter); });
    if (path.isEmpty())
        return;
    QString error;
    if (!saveFile(path, write, &error))
        showMessage(failure + QStringLiteral("\n") + error);
}

// The window as printing lays it out, drawn apart from the live window, which keeps its size.
QImage Form1::resultPicture()
{
    const QSize size = printSize();
    QImage picture(size * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(palette().color(QPalette::Window));
    windowView.atActualSize([&] { render(&picture, QPoint(), QRegion(QRect(QPoint(), size))); });
    return picture;
}

// The text exists for the window only once every path is traced: before, there is nothing to save.
void Form1::mnu_saveCommitment_Click()
{
    const std::optional<QByteArray> text = lottery.commitmentText();
    if (!text)
        return;
    saveChosenFile(QStandardPaths::DocumentsLocation, QStringLiteral("あみだくじ_照合_%1.txt"),
                   QStringLiteral("照合用テキストを保存"), QStringLiteral("テキスト (*.txt)"),
                   QStringLiteral("照合用テキストを保存できませんでした。"),
                   [&](QIODevice &out) { return out.write(*text) == text->size(); });
}

// Asks first while paths are still untraced; the settings file is not written.
void Form1::mnu_next_Click()
{
    if (!lottery.ready())
        return;
    finishRunningPath();
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
    autoRun = false;
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
    windowView.resetOuterWidth();
    showStartup(opening);
    showPhase();
    focusFirstName();
    update();
}
