// Lists of names brought in: a text or CSV file through "名簿を読み込む" (the menu, the command
// line or a file dropped on the window), a block of rows pasted or dropped into a name or prize
// box, and 元に戻す, which puts back what the boxes held before the last of them.
#include "box_look.h"
#include "form1.h"
#include "names/name_list.h"
#include "names/storable.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

namespace {

QStringList storableForms(const QStringList &texts)
{
    QStringList forms;
    forms.reserve(texts.size());
    for (const QString &text : texts)
        forms << names::storableForm(text);
    return forms;
}

// "3人分は入りませんでした。" for names (件分 for prizes) left out; empty when none were.
QString leftOutText(qsizetype count, bool names)
{
    if (count <= 0)
        return {};
    return (names ? QStringLiteral("%1人分は入りませんでした。") : QStringLiteral("%1件分は入りませんでした。")).arg(count);
}

bool isListFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("txt") || suffix == QLatin1String("csv") || suffix == QLatin1String("tsv");
}

} // namespace

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
        if (!paused([&] { return seams.namePreview->confirm(this, path, read); }))
            return;
        const QStringList taken = read.names.mid(0, kBoxCount);
        lottery.rememberEntries(entries());
        if (const std::optional<NamesTaken> done = lottery.takeNames(storableForms(taken))) {
            for (int i = 0; i < kBoxCount; ++i)
                setBoxText(man[i], done->names[i]);
            atari_set(lottery.winners());
            man_set(done->layout);
            focusFirstFilled(0);
            announce(QStringLiteral("%1人の名前を読み込みました。").arg(taken.size())
                     + leftOutText(read.names.size() - taken.size(), true));
            tellReplaced(names::replacements(taken));
        }
    });
}

// The lottery decides which boxes the pasted rows fill and how many are left over; the window
// sets the boxes and tells what happened.
bool Form1::pasteBlock(QLineEdit *box, const QString &text)
{
    if (box->isReadOnly() || !names::isBlock(text))
        return false;
    const bool names = std::find(man.begin(), man.end(), box) != man.end();
    const auto &column = names ? man : ans;
    const int first = int(std::find(column.begin(), column.end(), box) - column.begin());
    const std::optional<Pasted> pasted = lottery.paste(names ? BoxColumn::Names : BoxColumn::Prizes, first,
                                                       names::pastedNames(text), entries());
    if (!pasted)
        return false;
    for (int k = 0; k < pasted->texts.size(); ++k)
        setBoxText(column[first + k], pasted->texts[k]);
    if (pasted->layout)
        man_set(*pasted->layout);
    focusFirstFilled(first, names ? man : ans);
    const QString left = leftOutText(pasted->leftOver, names);
    const qsizetype filled = pasted->texts.size();
    announce((names ? QStringLiteral("%1人の名前を貼り付けました。") : QStringLiteral("%1件の景品を貼り付けました。")).arg(filled)
             + left);
    tellReplaced(names::replacements(pasted->taken));
    if (!left.isEmpty())
        showMessage(left);
    return true;
}

void Form1::mnu_undo_Click()
{
    const std::optional<EntriesRestored> restored = lottery.restoreEntries();
    if (!restored)
        return;
    for (int i = 0; i < kBoxCount; ++i) {
        setBoxText(man[i], restored->names[i]);
        setBoxText(ans[i], restored->prizes[i]);
    }
    atari_set(lottery.winners());
    man_set(restored->layout);
    focusFirstFilled(0);
    announce(QStringLiteral("読み込む前の名前と人数に戻しました。"));
}

void Form1::focusFirstFilled(int from, const std::array<QLineEdit *, kBoxCount> &column)
{
    for (int i = from; i < kBoxCount; ++i) {
        if (!column[i]->text().isEmpty() && column[i]->isVisibleTo(this)) {
            column[i]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form1::focusFirstFilled(int from)
{
    focusFirstFilled(from, man);
}

// What a screen reader says after names came in: a status line that changes and alerts.
void Form1::announce(const QString &text)
{
    lbl_status->setText(text);
    lbl_status->setAccessibleName(text);
    QAccessibleEvent changed(lbl_status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(lbl_status, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// One message for the texts that changed on their way in; it comes before anything is saved, as
// saving waits for standby or a group change.
void Form1::tellReplaced(const QList<names::Replacement> &changed)
{
    const QString message = names::replacementMessage(changed);
    if (!message.isEmpty())
        showMessage(message);
}

// A box's own menu, whose "paste" brings a block in as Ctrl+V does.
void Form1::showBoxMenu(QLineEdit *box, const QPoint &position)
{
    QMenu *menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, box, [this, box] {
            bool pasted = false;
            handle([&] { pasted = pasteBlock(box, QGuiApplication::clipboard()->text()); });
            if (!pasted)
                box->paste();
        });
    }
    menu->popup(box->mapToGlobal(position));
}

// Files dragged over the window or a box: taken before standby, and said about at the drop.
bool Form1::takesFiles(const QMimeData *mime) const
{
    return !lottery.ready() && mime->hasUrls();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (takesFiles(event->mimeData()))
        event->acceptProposedAction();
}

// One list file opens its preview once the drop is over, not inside the drag's own event loop;
// anything else is a short message.
void Form1::dropEvent(QDropEvent *event)
{
    if (!takesFiles(event->mimeData()))
        return;
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    const QString path = urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
    QTimer::singleShot(0, this, [this, path] {
        if (!path.isEmpty() && isListFile(path))
            openNameList(path);
        else
            handle([this] { showMessage(QStringLiteral("名簿として読み込めるのは、.txt・.csv・.tsv のファイル 1 つです。")); });
    });
}

// On a box: files are the window's; a block of text fills boxes as a paste does; a single line
// is the box's own.
bool Form1::boxDragEvent(QLineEdit *box, QEvent *event)
{
    const auto *drag = static_cast<QDropEvent *>(event);
    const QMimeData *mime = drag->mimeData();
    if (mime->hasUrls()) {
        if (event->type() == QEvent::Drop)
            dropEvent(static_cast<QDropEvent *>(event));
        else if (event->type() == QEvent::DragEnter)
            dragEnterEvent(static_cast<QDragEnterEvent *>(event));
        else if (takesFiles(mime))
            static_cast<QDragMoveEvent *>(event)->acceptProposedAction();
        return true;
    }
    if (!mime->hasText() || box->isReadOnly() || !names::isBlock(mime->text()))
        return false;
    if (event->type() == QEvent::Drop) {
        bool pasted = false;
        handle([&] { pasted = pasteBlock(box, mime->text()); });
        if (!pasted)
            return false;
    }
    static_cast<QDropEvent *>(event)->acceptProposedAction();
    return true;
}
