// The history of lotteries as the window opens it and shows it: recording is the recorder's job.
#include "form1.h"
#include "history_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>

void Form1::openHistory(const QString &path)
{
    recorder.open(path);
}

void Form1::showHistoryError(const QString &text)
{
    paused([&] { seams.messenger->showError(this, text); });
}

void Form1::closeEvent(QCloseEvent *event)
{
    recorder.abandon();
    QWidget::closeEvent(event);
}

void Form1::mnu_history_Click()
{
    History *history = recorder.history();
    if (!history)
        return;
    // A lottery left by a copy that has ended since shows as abandoned.
    if (!history->isReadOnly())
        history->abandonDeadCopies();
    HistoryDialog dialog(*history, *seams.saveDialog, *seams.messenger, this);
    paused([&] { dialog.exec(); });
}
