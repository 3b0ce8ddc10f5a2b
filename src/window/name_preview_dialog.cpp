#include "name_preview_dialog.h"
#include "dialog_scale.h"
#include "ladder/surface.h"
#include "base/state.h"
#include "names/storable.h"
#include "units.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A name box's frame and margins take a few pixels of its width.
bool widerThanABox(const QString &name)
{
    static const QFontMetrics metrics(programFont(9));
    return metrics.horizontalAdvance(name) > twipsToPixels(kNameBoxWidthTwips) - 6;
}

// The rows of a list, however long: each cell is made when the view shows it, so a file of a
// megabyte shows as fast as one of 37 names.
class NameListModel : public QAbstractTableModel
{
public:
    explicit NameListModel(const names::NameListRead &read, QObject *parent)
        : QAbstractTableModel(parent)
        , m_read(read)
        , m_marks(names::markNames(read.names.mid(0, kBoxCount), read.encoding))
    {
    }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(m_read.names.size()); }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int row = index.row();
        if (role == Qt::ForegroundRole)
            return needsLook(row) ? QVariant(QColor(0xC0, 0, 0)) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        switch (index.column()) {
        case 0: return QString::number(m_read.lines.value(row));
        case 1: return m_read.names[row];
        default: return NamePreviewDialog::note(m_read.names[row], marks(row));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const QStringList headings{QStringLiteral("行"), QStringLiteral("名前"), QStringLiteral("確認")};
        return headings.value(section);
    }

    bool needsLook(int row) const { return !NamePreviewDialog::note(m_read.names[row], marks(row)).isEmpty(); }

    // The rows in the boxes are marked at once; a row past them when the view first shows it,
    // with the first row of each name found then.
    names::NameMarks marks(int row) const
    {
        if (row < m_marks.size())
            return m_marks[row];
        if (m_firstRows.isEmpty()) {
            m_firstRows.reserve(m_read.names.size());
            for (int r = int(m_read.names.size()) - 1; r >= 0; --r)
                m_firstRows.insert(m_read.names[r], r); // the first row is the last one in
        }
        names::NameMarks marks = names::markNames({m_read.names[row]}, m_read.encoding).first();
        marks.beyondBoxes = true;
        marks.duplicate = !marks.empty && m_firstRows.value(m_read.names[row]) < row;
        return marks;
    }

    // Rows past the boxes all need a look, so only the first 37 are worked out.
    qsizetype flagged() const
    {
        qsizetype count = std::max<qsizetype>(m_read.names.size() - kBoxCount, 0);
        for (int row = 0; row < std::min<qsizetype>(m_read.names.size(), kBoxCount); ++row)
            count += needsLook(row) ? 1 : 0;
        return count;
    }

private:
    const names::NameListRead m_read;
    const QList<names::NameMarks> m_marks;
    mutable QHash<QString, int> m_firstRows;
};

} // namespace

QString NamePreviewDialog::note(const QString &name, const names::NameMarks &marks)
{
    QStringList note;
    if (marks.beyondBoxes)
        note << QStringLiteral("%1人目以降は入りません").arg(kBoxCount + 1);
    if (marks.empty)
        note << QStringLiteral("名前がありません");
    if (marks.duplicate)
        note << QStringLiteral("同じ名前があります");
    if (marks.garbled)
        note << QStringLiteral("文字化けかもしれません");
    if (marks.unstorable)
        note << QStringLiteral("保存できない文字→「%1」").arg(names::storableForm(name));
    if (widerThanABox(name))
        note << QStringLiteral("欄に収まりきりません");
    return note.join(QStringLiteral("、"));
}

QStringList NamePreviewDialog::notes(const names::NameListRead &read)
{
    const QList<names::NameMarks> marks = names::markNames(read.names, read.encoding);
    QStringList notes;
    for (qsizetype i = 0; i < read.names.size(); ++i)
        notes << note(read.names[i], marks[i]);
    return notes;
}

NamePreviewDialog::NamePreviewDialog(const QString &path, const names::NameListRead &read, QWidget *parent)
    : QDialog(parent)
{
    const double scale = takeShownScale(this, parent);
    setObjectName(QStringLiteral("namePreview"));
    setWindowTitle(QStringLiteral("名簿の読み込み"));
    auto *model = new NameListModel(read, this);
    const qsizetype taken = qMin<qsizetype>(read.names.size(), kBoxCount);
    const qsizetype flagged = model->flagged();

    auto *summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    QString text = QStringLiteral("%1 から %2 人の名前を読み込みます。")
                       .arg(QDir::toNativeSeparators(QFileInfo(path).fileName()))
                       .arg(taken);
    if (flagged > 0)
        text += QStringLiteral("\n確認が必要な名前が %1 件あります。").arg(flagged);
    summary->setText(text);

    auto *table = new QTableView(this);
    table->setObjectName(QStringLiteral("names"));
    table->setModel(model);
    table->setAccessibleName(QStringLiteral("読み込む名前の一覧"));
    table->setAccessibleDescription(text);
    // Arrow keys move inside the list; Tab goes on to the buttons.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    // Widths from the first rows and the widest line number, not from every row.
    const QFontMetrics metrics = table->fontMetrics();
    const int lastLine = read.lines.isEmpty() ? 1 : read.lines.last();
    table->setColumnWidth(0, metrics.horizontalAdvance(QString::number(lastLine)) + 16);
    table->setColumnWidth(1, metrics.horizontalAdvance(QString(12, QChar(u'名'))) + 16);
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
    resize(QSize(560, 520) * scale);
}
