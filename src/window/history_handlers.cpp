// The history of lotteries: every lottery recorded the moment standby fixes its results,
// completed when every path is traced, marked "中断" when the window goes on to another lottery or
// closes before that; and the window that lists them.
#include "form1.h"
#include "history_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>

void Form1::openHistory(const QString &path)
{
    auto opened = std::make_unique<History>();
    if (!opened->open(path)) {
        showHistoryError(QStringLiteral("抽選の履歴 %1 を開けませんでした。履歴は残さずに続けます。\n理由: %2")
                             .arg(QDir::toNativeSeparators(path), opened->reason()));
        return;
    }
    if (!opened->notice().isEmpty())
        showHistoryError(opened->notice());
    history = std::move(opened);
    updateMenuEntries();
}

void Form1::showHistoryError(const QString &text)
{
    paused([&] { seams.messenger->showError(this, text); });
}

// A step that could not be recorded is said once in a run, naming the file and why; the lottery
// goes on.
void Form1::recordFailed()
{
    if (historyFaultShown)
        return;
    historyFaultShown = true;
    showHistoryError(QStringLiteral("抽選の履歴 %1 に記録できませんでした。抽選はこのまま続けられます。\n理由: %2")
                         .arg(QDir::toNativeSeparators(history->path()), history->reason()));
}

// The lottery as standby fixed it, with its names and no result: each result is recorded when
// its path is traced.
void Form1::recordLottery(const QString &memo)
{
    if (!history)
        return;
    const LotteryState &st = lottery.state();
    HistoryLottery record;
    record.fixedAt = QDateTime::currentDateTime();
    record.group = st.group_no;
    record.memo = memo;
    record.mode = st.draw_mode;
    record.participants = st.man_count;
    record.winners = st.draw_mode == modes::kWinnerMode ? st.atari_count : 0;
    record.round = lottery.round();
    for (const QString &name : lottery.participants())
        record.rows.append(HistoryRow{name, QString(), false});
    historyId = history->recordStandby(record);
    if (historyId == 0)
        recordFailed();
}

void Form1::recordTrace(const TraceStep &step)
{
    if (history && historyId != 0 && !history->recordTrace(historyId, step.participant, step.reached))
        recordFailed();
}

void Form1::completeRecord()
{
    if (history && historyId != 0 && !history->complete(historyId, stampTime))
        recordFailed();
    historyId = 0;
}

void Form1::abandonRecord()
{
    if (history && historyId != 0)
        history->abandon(historyId);
    historyId = 0;
}

void Form1::closeEvent(QCloseEvent *event)
{
    abandonRecord();
    QWidget::closeEvent(event);
}

void Form1::mnu_history_Click()
{
    if (!history)
        return;
    // A lottery left by a copy that has ended since shows as abandoned.
    if (!history->isReadOnly())
        history->abandonDeadCopies();
    HistoryDialog dialog(*history, *seams.saveDialog, *seams.messenger, this);
    paused([&] { dialog.exec(); });
}
