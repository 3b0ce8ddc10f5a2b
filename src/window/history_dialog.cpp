#include "history_dialog.h"
#include "list_table.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

HistoryDialog::HistoryDialog(History &history, SaveDialog &saveDialog, Messenger &messenger, QWidget *parent)
    : QDialog(parent)
    , m_history(history)
    , m_saveDialog(saveDialog)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QStringLiteral("抽選の履歴"));
    m_list = listTable({QStringLiteral("日時"), QStringLiteral("メモ"), QStringLiteral("モード"), QStringLiteral("人数"),
                    QStringLiteral("回"), QStringLiteral("状態")},
                   QStringLiteral("lotteries"), this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_results = listTable({QStringLiteral("名前"), QStringLiteral("結果")}, QStringLiteral("results"), this);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &HistoryDialog::showResults);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *csv = buttons->addButton(QStringLiteral("CSVで書き出す..."), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("exportCsv"));
    QPushButton *remove = buttons->addButton(QStringLiteral("削除"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("remove"));
    connect(csv, &QPushButton::clicked, this, &HistoryDialog::exportCsv);
    connect(remove, &QPushButton::clicked, this, &HistoryDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 3);
    layout->addWidget(m_results, 2);
    layout->addWidget(buttons);
    resize(640, 560);
    reload();
}

void HistoryDialog::reload()
{
    m_lotteries = m_history.lotteries();
    m_list->clearContents();
    m_list->setRowCount(int(m_lotteries.size()));
    for (int i = 0; i < m_lotteries.size(); ++i) {
        const HistoryLottery &l = m_lotteries[i];
        setRowTexts(m_list, i, {l.fixedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), l.memo, historyModeName(l.mode),
                           QString::number(l.participants), QString::number(l.round), l.state});
    }
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    showResults();
}

// The results of the lottery the selection starts at.
void HistoryDialog::showResults()
{
    const QList<HistoryLottery> chosen = selected();
    const QList<HistoryRow> rows = chosen.size() == 1 ? chosen.first().rows : QList<HistoryRow>();
    m_results->clearContents();
    m_results->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        setRowTexts(m_results, i, {rows[i].name, rows[i].result});
}

QList<HistoryLottery> HistoryDialog::selected() const
{
    std::set<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.insert(index.row());
    QList<HistoryLottery> chosen;
    for (int row : rows)
        chosen << m_lotteries.value(row);
    return chosen;
}

void HistoryDialog::exportCsv()
{
    const QList<HistoryLottery> chosen = selected().isEmpty() ? m_lotteries : selected();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = m_saveDialog.choose(this, QDir(folder).filePath(QStringLiteral("あみだくじ_履歴.csv")),
                                             QStringLiteral("CSVで書き出す"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = historyCsv(chosen, true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_messenger.show(this, QStringLiteral("%1 を書き出せませんでした。\n理由: %2")
                                   .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void HistoryDialog::removeSelected()
{
    const QList<HistoryLottery> chosen = selected();
    if (chosen.isEmpty()
        || !m_messenger.ask(this, QStringLiteral("選んだ %1 件の抽選を履歴から削除しますか？").arg(chosen.size())))
        return;
    QList<qint64> ids;
    for (const HistoryLottery &l : chosen)
        ids << l.id;
    if (!m_history.remove(ids))
        m_messenger.show(this, QStringLiteral("履歴から削除できませんでした。\n理由: %1").arg(m_history.error()));
    reload();
}
