#include "history_dialog.h"
#include "commitment/commitment.h"
#include "dialog_scale.h"
#include "save_file.h"
#include "list_table.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

// The lotteries as the list shows them; a model, so that years of lotteries show at once.
class HistoryListModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setLotteries(QList<HistoryLottery> lotteries)
    {
        beginResetModel();
        m_lotteries = std::move(lotteries);
        endResetModel();
    }
    const QList<HistoryLottery> &lotteries() const { return m_lotteries; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_lotteries.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(headings().size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const HistoryLottery &l = m_lotteries.at(index.row());
        const QStringList texts{historyTimeText(l.fixedAt), historyTimeText(l.finishedAt), l.memo,
                                historyModeName(l.mode),   QString::number(l.participants), QString::number(l.round),
                                l.state, commitment::shortCode(l.commitmentHash)};
        return texts.value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return headings().value(section);
    }

private:
    static QStringList headings()
    {
        return {QStringLiteral("準備完了の日時"), QStringLiteral("全員たどった日時"), QStringLiteral("メモ"),
                QStringLiteral("モード"),         QStringLiteral("人数"),             QStringLiteral("回"),
                QStringLiteral("状態"),           QStringLiteral("照合コード")};
    }

    QList<HistoryLottery> m_lotteries;
};

namespace {

// A lottery as a question or a message names it: its time of standby and its memo.
QString named(const HistoryLottery &lottery)
{
    const QString time = historyTimeText(lottery.fixedAt);
    return lottery.memo.isEmpty() ? time : QStringLiteral("%1「%2」").arg(time, lottery.memo);
}

// Tab leaves a table for the next control; the arrow keys move inside it.
void leftByTab(QAbstractItemView *table, const QString &name)
{
    table->setTabKeyNavigation(false);
    table->setAccessibleName(name);
}

} // namespace

HistoryDialog::HistoryDialog(History &history, SaveDialog &saveDialog, Messenger &messenger, QWidget *parent)
    : QDialog(parent)
    , m_history(history)
    , m_saveDialog(saveDialog)
    , m_messenger(messenger)
{
    const double scale = takeShownScale(this, parent);
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QStringLiteral("抽選の履歴"));
    m_model = new HistoryListModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("lotteries"));
    m_list->setModel(m_model);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->horizontalHeader()->setStretchLastSection(true);
    leftByTab(m_list, QStringLiteral("抽選の一覧"));
    m_results = listTable({QStringLiteral("名前"), QStringLiteral("結果")}, QStringLiteral("results"), this);
    leftByTab(m_results, QStringLiteral("選んだ抽選の結果"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &HistoryDialog::showResults);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *csv = buttons->addButton(QStringLiteral("CSVで書き出す..."), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("exportCsv"));
    QPushButton *all = buttons->addButton(QStringLiteral("全部をCSVで書き出す..."), QDialogButtonBox::ActionRole);
    all->setObjectName(QStringLiteral("exportAllCsv"));
    m_saveText = buttons->addButton(QStringLiteral("照合用テキストを保存..."), QDialogButtonBox::ActionRole);
    m_saveText->setObjectName(QStringLiteral("saveCommitment"));
    m_remove = buttons->addButton(QStringLiteral("削除"), QDialogButtonBox::ActionRole);
    m_remove->setObjectName(QStringLiteral("remove"));
    connect(csv, &QPushButton::clicked, this, &HistoryDialog::exportCsv);
    connect(all, &QPushButton::clicked, this, &HistoryDialog::exportAllCsv);
    connect(m_saveText, &QPushButton::clicked, this, &HistoryDialog::saveCommitmentText);
    connect(m_remove, &QPushButton::clicked, this, &HistoryDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter in a table does not write a file: no button is the default.
    for (QAbstractButton *button : buttons->buttons()) {
        if (auto *push = qobject_cast<QPushButton *>(button))
            push->setAutoDefault(false);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 3);
    layout->addWidget(m_results, 2);
    layout->addWidget(buttons);
    setTabOrder(m_list, m_results);
    setTabOrder(m_results, csv);
    resize(QSize(760, 560) * scale);
    reload();
    m_list->setFocus();
}

void HistoryDialog::reload()
{
    QList<HistoryLottery> lotteries = m_history.lotteries();
    const bool unreadable = !m_history.error().isEmpty();
    m_status->clear();
    m_model->setLotteries(std::move(lotteries));
    if (unreadable)
        m_status->setText(QStringLiteral("抽選の履歴 %1 を読めません。%2")
                              .arg(QDir::toNativeSeparators(m_history.path()), m_history.reason()));
    else if (m_model->rowCount() == 0)
        m_status->setText(QStringLiteral("記録された抽選はまだありません。"));
    else if (m_history.isReadOnly())
        m_status->setText(QStringLiteral("抽選の履歴 %1 は読むことだけできます（新しい抽選は記録されません）。")
                              .arg(QDir::toNativeSeparators(m_history.path())));
    m_status->setVisible(!m_status->text().isEmpty());
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    // The newest lottery selected, so that its results show; through the selection model, as the
    // view's own calls follow the keys held (Ctrl, still down from Ctrl+H, would deselect it).
    if (m_model->rowCount() > 0)
        m_list->selectionModel()->setCurrentIndex(m_model->index(0, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showResults();
}

// The results of a single selected lottery, read from the history now.
void HistoryDialog::showResults()
{
    const QList<HistoryLottery> chosen = selected();
    m_remove->setEnabled(!chosen.isEmpty());
    // Only a completed lottery has its text: the others' results were never all seen.
    m_saveText->setEnabled(chosen.size() == 1 && chosen.first().state == history_state::kCompleted
                           && !chosen.first().commitmentHash.isEmpty());
    HistoryLottery shown = chosen.size() == 1 ? chosen.first() : HistoryLottery();
    if (shown.id != 0)
        shown.rows = m_history.rows(shown.id);
    m_results->clearContents();
    m_results->setRowCount(int(shown.rows.size()));
    for (int i = 0; i < shown.rows.size(); ++i)
        setRowTexts(m_results, i, {shown.rows[i].name, historyResultText(shown, shown.rows[i])});
}

QList<HistoryLottery> HistoryDialog::selected() const
{
    std::set<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.insert(index.row());
    QList<HistoryLottery> chosen;
    for (int row : rows)
        chosen << m_model->lotteries().value(row);
    return chosen;
}

void HistoryDialog::exportTo(const std::function<bool(QIODevice &)> &write)
{
    saveChosen(QStringLiteral("あみだくじ_履歴.csv"), QStringLiteral("CSVで書き出す"), QStringLiteral("CSV (*.csv)"),
               QStringLiteral("CSV を書き出せませんでした。"), QStringLiteral("%1 に書き出しました。"), write);
}

// Asks where (a file name proposed in the documents folder), saves, and says where it went or,
// naming the file, why it could not.
void HistoryDialog::saveChosen(const QString &name, const QString &title, const QString &filter, const QString &failure,
                               const QString &done, const std::function<bool(QIODevice &)> &write)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = m_saveDialog.choose(this, QDir(folder).filePath(name), title, filter);
    if (path.isEmpty())
        return;
    QString error;
    if (!saveFile(path, write, &error)) {
        m_messenger.showError(this, failure + QStringLiteral("\n") + error);
        return;
    }
    m_messenger.show(this, done.arg(QDir::toNativeSeparators(path)));
}

void HistoryDialog::saveCommitmentText()
{
    const QList<HistoryLottery> chosen = selected();
    if (chosen.size() != 1)
        return;
    const QByteArray text = m_history.commitmentText(chosen.first().id);
    if (text.isEmpty()) {
        m_messenger.showError(this, QStringLiteral("この抽選の照合用テキストは履歴にありません。%1").arg(m_history.reason()));
        return;
    }
    const QString name = QStringLiteral("あみだくじ_照合_%1.txt")
                             .arg(chosen.first().fixedAt.toString(QStringLiteral("yyyyMMdd_HHmmss")));
    saveChosen(name, QStringLiteral("照合用テキストを保存"), QStringLiteral("テキスト (*.txt)"),
               QStringLiteral("照合用テキストを保存できませんでした。"), QStringLiteral("%1 に保存しました。"),
               [&](QIODevice &out) { return out.write(text) == text.size(); });
}

void HistoryDialog::exportCsv()
{
    QList<HistoryLottery> chosen = selected();
    if (chosen.isEmpty())
        return exportAllCsv();
    for (HistoryLottery &lottery : chosen)
        lottery.rows = m_history.rows(lottery.id);
    if (!m_history.error().isEmpty()) {
        m_messenger.showError(this, QStringLiteral("抽選の履歴を読めませんでした。%1").arg(m_history.reason()));
        return;
    }
    exportTo([&](QIODevice &out) { return out.write(historyCsv(chosen, true)) >= 0; });
}

void HistoryDialog::exportAllCsv()
{
    bool readFailed = false;
    exportTo([&](QIODevice &out) {
        const CsvWritten written = writeHistoryCsv(m_history, out, true);
        readFailed = written == CsvWritten::ReadFailed;
        return written == CsvWritten::Done;
    });
    if (readFailed)
        m_messenger.showError(this, QStringLiteral("抽選の履歴を読めませんでした。%1").arg(m_history.reason()));
}

// A lottery still being recorded (by this window or another copy) is not removed: its last
// paths are still to come.
void HistoryDialog::removeSelected()
{
    QList<HistoryLottery> removable;
    int running = 0;
    for (const HistoryLottery &lottery : selected()) {
        if (lottery.state == history_state::kRecording)
            ++running;
        else
            removable << lottery;
    }
    const QString runningNote =
        running == 0 ? QString()
                     : QStringLiteral("記録中の抽選（%1 件）は、抽選がまだ続いているため削除しません。").arg(running);
    if (removable.isEmpty()) {
        if (running > 0)
            m_messenger.show(this, runningNote);
        return;
    }
    QStringList names;
    for (const HistoryLottery &lottery : removable.mid(0, 5))
        names << named(lottery);
    if (removable.size() > 5)
        names << QStringLiteral("ほか %1 件").arg(removable.size() - 5);
    QString question = QStringLiteral("次の抽選を履歴から削除しますか？\n%1").arg(names.join(u'\n'));
    if (running > 0)
        question += u'\n' + runningNote;
    if (!m_messenger.ask(this, question))
        return;
    QList<qint64> ids;
    for (const HistoryLottery &lottery : removable)
        ids << lottery.id;
    if (m_history.remove(ids) < 0)
        m_messenger.showError(this, QStringLiteral("履歴から削除できませんでした。%1").arg(m_history.reason()));
    reload();
}
