// Lists of names brought in: a text or CSV file through "名簿を読み込む" (the menu, the command
// line or a file dropped on the window), or several lines pasted into a name or prize box.
#include "box_look.h"
#include "form1.h"
#include "names/name_list.h"
#include "text_validator.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

void Form1::mnu_import_Click()
{
    if (lottery.ready())
        return;
    const QString path = paused([&] { return seams.openDialog->choose(this); });
    if (!path.isEmpty())
        openNameList(path);
}

void Form1::openNameList(const QString &path)
{
    handle([&] {
        if (lottery.ready())
            return;
        const names::NameListRead read = names::readNameListFile(path);
        if (!read.error.isEmpty()) {
            showMessage(QStringLiteral("名簿 %1 を読み込めませんでした。\n理由: %2")
                            .arg(QDir::toNativeSeparators(path), read.error));
            return;
        }
        if (!paused([&] { return seams.namePreview->confirm(this, path, read.names); }))
            return;
        if (const std::optional<NamesTaken> taken = lottery.takeNames(read.names)) {
            for (int i = 0; i < kBoxCount; ++i)
                setBoxText(man[i], taken->names[i]);
            atari_set();
            man_set(taken->layout);
        }
    });
}

// Names fill the boxes from the one pasted into down to the last box, and the participant count
// rises to cover them; prizes fill the boxes of the current participants. A character the
// settings file cannot hold refuses the paste, as it refuses a typed one.
bool Form1::pasteLines(QLineEdit *box)
{
    const QStringList lines = names::pastedNames(QGuiApplication::clipboard()->text());
    if (lines.size() < 2 || box->isReadOnly())
        return false;
    const bool names = std::find(man.begin(), man.end(), box) != man.end();
    const auto &column = names ? man : ans;
    const int first = int(std::find(column.begin(), column.end(), box) - column.begin());
    if (first >= kBoxCount)
        return false;
    if (!std::all_of(lines.begin(), lines.end(), storableText))
        return true;

    const int rows = names ? kBoxCount : lottery.state().man_count;
    const int filled = int(std::clamp<qsizetype>(lines.size(), 0, qMax(0, rows - first)));
    for (int k = 0; k < filled; ++k) {
        QLineEdit *target = column[first + k];
        setBoxText(target, lines[k].left(target->maxLength()));
    }
    if (names) {
        if (const std::optional<Layout> layout = lottery.coverRows(first + filled))
            man_set(*layout);
    }
    if (const qsizetype left = lines.size() - filled; left > 0)
        showMessage(names ? QStringLiteral("%1人分は入りませんでした。").arg(left)
                          : QStringLiteral("%1件分は入りませんでした。").arg(left));
    return true;
}

// A box's own menu, whose "paste" brings several lines in as Ctrl+V does.
void Form1::showBoxMenu(QLineEdit *box, const QPoint &position)
{
    QMenu *menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, box, [this, box] {
            bool pasted = false;
            handle([&] { pasted = pasteLines(box); });
            if (!pasted)
                box->paste();
        });
    }
    menu->popup(box->mapToGlobal(position));
}

QString Form1::draggedList(const QMimeData *mime) const
{
    if (lottery.ready() || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile())
        return {};
    const QString path = mime->urls().first().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("txt") || suffix == QLatin1String("csv") ? path : QString();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!draggedList(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

// The preview opens once the drop is over, not inside the drag's own event loop.
void Form1::dropEvent(QDropEvent *event)
{
    const QString path = draggedList(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, path] { openNameList(path); });
}
