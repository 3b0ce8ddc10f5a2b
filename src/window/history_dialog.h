#pragma once
// "抽選の履歴": the lotteries recorded, newest first (the newest selected), with the selected one's
// results below, read when it is selected; the selected lotteries, or all of them, written as CSV,
// or removed after a question that names them.

#include "history.h"
#include "window_seams.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class HistoryListModel;

class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    HistoryDialog(History &history, SaveDialog &saveDialog, Messenger &messenger, QWidget *parent = nullptr);

    // The buttons' work, reachable for the keyboard and for tests alike.
    void exportCsv();
    void exportAllCsv();
    void removeSelected();
    // The selected completed lottery's commitment text, into a file the user names.
    void saveCommitmentText();

private:
    void reload();
    void showResults();
    QList<HistoryLottery> selected() const;
    // Asks where to write, writes and says where it wrote (or why it could not).
    void exportTo(const std::function<bool(QIODevice &)> &write);
    void saveChosen(const QString &name, const QString &title, const QString &filter, const QString &failure,
                    const QString &done, const std::function<bool(QIODevice &)> &write);

    History &m_history;
    SaveDialog &m_saveDialog;
    Messenger &m_messenger;
    HistoryListModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QTableWidget *m_results = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_saveText = nullptr;
};
