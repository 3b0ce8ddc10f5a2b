#include "form1.h"
#include "box_look.h"
#include "text_validator.h"
#include "settings/settings_file.h"
#include "units.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

Form1::Form1(WindowSeams seamsIn, LotterySources sources, QWidget *parent)
    : QWidget(parent)
    , seams(std::move(seamsIn))
    , lottery(std::move(sources))
    , surface(QSize(twipsToPixels(kClientWidthTwips), twipsToPixels(14700)), devicePixelRatioF())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("◆Vornikel◆あみだくじ２"));
    setFont(programFont(9));
    setAcceptDrops(true);
    auto switched = std::make_unique<SoundSwitch>(std::move(seams.soundOutput));
    sounds = switched.get();
    seams.soundOutput = std::move(switched);
    makeControls();
    pathShow = new PathShow(this, lottery, surface, [this] { return windowView.view().offset; },
                            seams.soundOutput.get(),
                            [this](const TraceStep &step) { handle([&] { pathArrived(step); }); });
    createWindowMenu();
    windowView.apply();
    Form_Load();
}

Form1::~Form1() = default;

PausedRun::PausedRun(QTimer *timer)
    : m_timer(timer)
    , m_running(timer->isActive())
{
    m_timer->stop();
}

PausedRun::~PausedRun()
{
    if (m_running)
        m_timer->start();
}

void Form1::makeControls()
{
    createControls();
    setTabOrder();
    wireEvents();
}

void Form1::wireEvents()
{
    onClick(cmd_make, &Form1::cmd_make_Click);
    // Ladder.
    onClick(cmd_auto, &Form1::cmd_auto_Click);
    onClick(cmd_print, &Form1::cmd_print_Click);
    connect(tmr_1, &QTimer::timeout, this, [this] { handle([this] { tmr_1_Timer(); }); });
    // Entry panel.
    onClick(cmd_up, &Form1::cmd_up_Click);
    onClick(cmd_down, &Form1::cmd_down_Click);
    onClick(cmd_up2, &Form1::cmd_up2_Click);
    onClick(cmd_dn2, &Form1::cmd_dn2_Click);
    onClick(cmd_clr, &Form1::cmd_clr_Click);
    onClick(cmd_change, &Form1::cmd_change_Click);
    // Name boxes report clicks and typed keys before the box handles them; every box brings
    // pasted lines and dropped lists to the window.
    for (const auto &column : {man, ans}) {
        for (QLineEdit *box : column) {
            box->installEventFilter(this);
            box->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(box, &QWidget::customContextMenuRequested, this,
                    [this, box](const QPoint &position) { showBoxMenu(box, position); });
        }
    }
    // A typed, pasted or dropped text that had to change is said once the edit is over.
    for (const auto &column : {man, ans}) {
        for (QLineEdit *box : column)
            tellWhenReplaced(box);
    }
    tellWhenReplaced(txt_mem);
    // Draw modes and standby.
    onClick(cmd_mode, &Form1::cmd_mode_Click);
    onClick(cmd_standby, &Form1::cmd_standby_Click);
    // Settings and groups.
    onClick(cmd_up3, &Form1::cmd_up3_Click);
    onClick(cmd_dn3, &Form1::cmd_dn3_Click);
}

void Form1::tellWhenReplaced(QLineEdit *box)
{
    const auto *validator = qobject_cast<const StoredTextValidator *>(box->validator());
    connect(validator, &StoredTextValidator::replaced, this, [this](const QString &before, const QString &after) {
        QTimer::singleShot(0, this, [this, before, after] { handle([&] { tellReplaced({{before, after}}); }); });
    });
}

void Form1::onClick(QAbstractButton *button, void (Form1::*handler)())
{
    connect(button, &QAbstractButton::clicked, this, [this, handler] { handle([this, handler] { (this->*handler)(); }); });
}

void Form1::onTriggered(QAction *action, void (Form1::*handler)())
{
    connect(action, &QAction::triggered, this, [this, handler] { handle([this, handler] { (this->*handler)(); }); });
}

// A left-button release inside a name box is a click on it, also while the box is locked.
static bool isClickInside(QWidget *box, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton && box->rect().contains(mouse->position().toPoint());
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const int index = nameBoxIndex(watched);
    if (index >= 0 && isClickInside(man[index], event))
        handle([this, index] { man_Click(index); });
    // A name box reports each typed character before it handles the key, even when locked.
    if (index >= 0 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter || !key->text().isEmpty()) {
            const int keyAscii = enter ? 13 : key->text().at(0).unicode();
            handle([&] { man_KeyPress(index, keyAscii); });
        }
        // After standby the locked name boxes take Space as a click: the keyboard's way to trace.
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat() && man[index]->isReadOnly())
            handle([this, index] { man_Click(index); });
    }
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        // A locked box takes nothing, and says why instead of staying silent.
        if (box->isReadOnly()) {
            handle([this] { showMessage(QStringLiteral("準備完了のあとは名前を変えられません。")); });
            return true;
        }
        bool pasted = false;
        handle([&] { pasted = pasteBlock(box, QGuiApplication::clipboard()->text()); });
        if (pasted)
            return true;
    }
    // Ctrl+Z in a box undoes the box's own typing first, then what the last list brought in.
    if (box && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)
        && !box->isUndoAvailable() && lottery.canRestoreEntries()) {
        handle([this] { mnu_undo_Click(); });
        return true;
    }
    const QEvent::Type type = event->type();
    if (box && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        && boxDragEvent(box, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(windowView.view().offset, surface.image());
    pathShow->paint(painter);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    windowView.resized();
    QWidget::resizeEvent(event);
}

// The window manager's frame, once known, counts in the window's outer size.
void Form1::moveEvent(QMoveEvent *event)
{
    windowView.moved();
    QWidget::moveEvent(event);
}

void Form1::showMessage(const QString &text)
{
    paused([&] { seams.messenger->show(this, text); });
}

bool Form1::ask(const QString &question)
{
    return paused([&] { return seams.messenger->ask(this, question); });
}

// Worked out at each save: the user's configuration folder is made only when a save needs it,
// and made again if it went away while the program ran.
bool Form1::saveSettings(const settings::SetupLines &lines)
{
    const QString path = seams.settingsPath.isEmpty() ? settings::settingsFilePath() : seams.settingsPath;
    const settings::SaveResult result = settings::writeSettingsFile(path, lines);
    if (!result.ok)
        showMessage(result.message);
    return result.ok;
}

Entries Form1::entries() const
{
    Entries boxes;
    for (int i = 0; i < kBoxCount; ++i) {
        boxes.names[i] = man[i]->text();
        boxes.prizes[i] = ans[i]->text();
    }
    boxes.memo = txt_mem->text();
    return boxes;
}
