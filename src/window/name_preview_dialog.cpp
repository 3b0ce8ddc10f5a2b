#include "name_preview_dialog.h"
#include "list_table.h"
#include "ladder/surface.h"
#include "lottery/state.h"
#include "names/name_list.h"
#include "units.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A name box is 1215 twips wide; its frame and margins take a few pixels of it.
bool widerThanABox(const QString &name)
{
    return QFontMetrics(programFont(9)).horizontalAdvance(name) > twipsToPixels(1215) - 6;
}

} // namespace

QStringList NamePreviewDialog::notes(const QStringList &names)
{
    const QList<names::NameMarks> marks = names::markNames(names);
    QStringList notes;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QStringList note;
        if (marks[i].beyondBoxes)
            note << QStringLiteral("%1人目以降は入りません").arg(kBoxCount + 1);
        if (marks[i].duplicate)
            note << QStringLiteral("同じ名前があります");
        if (marks[i].unstorable)
            note << QStringLiteral("保存できない文字があります");
        if (widerThanABox(names[i]))
            note << QStringLiteral("欄に収まりきりません");
        notes << note.join(QStringLiteral("、"));
    }
    return notes;
}

NamePreviewDialog::NamePreviewDialog(const QString &path, const QStringList &names, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("namePreview"));
    setWindowTitle(QStringLiteral("名簿の読み込み"));
    const QStringList rowNotes = notes(names);
    const qsizetype taken = qMin<qsizetype>(names.size(), kBoxCount);
    const qsizetype flagged = std::count_if(rowNotes.begin(), rowNotes.end(), [](const QString &n) { return !n.isEmpty(); });

    auto *summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    QString text = QStringLiteral("%1 から %2 人の名前を読み込みます。")
                       .arg(QDir::toNativeSeparators(QFileInfo(path).fileName()))
                       .arg(taken);
    if (flagged > 0)
        text += QStringLiteral("\n確認が必要な名前が %1 件あります。").arg(flagged);
    summary->setText(text);

    QTableWidget *table = listTable({QStringLiteral("行"), QStringLiteral("名前"), QStringLiteral("確認")},
                                    QStringLiteral("names"), this);
    for (int i = 0; i < names.size(); ++i) {
        setRowTexts(table, i, {QString::number(i + 1), names[i], rowNotes[i]});
        if (!rowNotes[i].isEmpty())
            for (int c = 0; c < 3; ++c)
                table->item(i, c)->setForeground(QColor(0xC0, 0, 0));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *take = buttons->addButton(QStringLiteral("読み込む"), QDialogButtonBox::AcceptRole);
    take->setObjectName(QStringLiteral("take"));
    take->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(480, 520);
}
