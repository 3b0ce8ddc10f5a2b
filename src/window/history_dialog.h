#pragma once
// "抽選の履歴": the lotteries recorded, newest first, with the selected one's results below; the
// selected lotteries (all when none is selected) written as CSV, or removed after a question.

#include "history.h"
#include "window_seams.h"

#include <QDialog>

class QTableWidget;

class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    HistoryDialog(History &history, SaveDialog &saveDialog, Messenger &messenger, QWidget *parent = nullptr);

    // The buttons' work, reachable for the keyboard and for tests alike.
    void exportCsv();
    void removeSelected();

private:
    void reload();
    void showResults();
    QList<HistoryLottery> selected() const;

    History &m_history;
    SaveDialog &m_saveDialog;
    Messenger &m_messenger;
    QList<HistoryLottery> m_lotteries;
    QTableWidget *m_list = nullptr;
    QTableWidget *m_results = nullptr;
};
