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
        showMessage(QStringLiteral("抽選の履歴 %1 を開けませんでした。履歴は残さずに続けます。\n理由: %2")
                        .arg(QDir::toNativeSeparators(path), opened->error()));
        return;
    }
    if (!opened->notice().isEmpty())
        showMessage(opened->notice());
    history = std::move(opened);
    updateMenuEntries();
}

// A record that cannot be written is logged by the history; the lottery goes on.
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
    for (const auto &[name, result] : lottery.outcomes())
        record.rows.append(HistoryRow{name, result});
    historyId = history->recordStandby(record);
}

void Form1::completeRecord()
{
    if (history && historyId != 0)
        history->complete(historyId, stampTime);
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
    HistoryDialog dialog(*history, *seams.saveDialog, *seams.messenger, this);
    paused([&] { dialog.exec(); });
}
