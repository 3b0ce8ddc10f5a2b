#pragma once
// The window's part in the history of lotteries: the lottery recorded at standby from the
// lottery's own data (names, memo, counts; no result), each result as its path is traced, the
// lottery completed with the stamp or abandoned when the window moves on or closes before that.
// A step that cannot be recorded is said once in a run; the lottery always goes on.

#include "history.h"
#include "lottery/lottery.h"

#include <functional>

class QObject;
#include <memory>

class HistoryRecorder
{
public:
    // Shows an error to the user (a modal message; the window pauses its automatic run).
    using ShowError = std::function<void(const QString &)>;
    // The window waits on the history at most a moment: a file another copy holds is tried again
    // from a timer (run with context), never waited for on the window's thread.
    // opened runs once the history is open.
    HistoryRecorder(QObject *context, ShowError showError, std::function<void()> opened);
    ~HistoryRecorder();
    HistoryRecorder(const HistoryRecorder &) = delete;
    HistoryRecorder &operator=(const HistoryRecorder &) = delete;

    // Opens the history at path; without one (it could not be read) lotteries go on unrecorded,
    // which is said. A file that had to be set aside is said too.
    void open(const QString &path);
    // The history the history window shows; none when it could not be opened.
    History *history() const { return m_history.get(); }

    void recordStandby(const Lottery &lottery);
    void recordTrace(const TraceStep &step);
    // With the lottery's commitment text and nonce, which only now may be written.
    void complete(const QDateTime &stamp, const Lottery &lottery);
    // The lottery being recorded, if any, is left before its last trace.
    void abandon();

private:
    void failed();
    void tryOpen(const QString &path, int triesLeft);

    QObject *m_context;
    ShowError m_showError;
    std::function<void()> m_opened;
    std::unique_ptr<History> m_history;
    // The lottery being recorded, until it is completed or abandoned; 0 for none.
    qint64 m_id = 0;
    // Whether a step that could not be recorded has been said in this run.
    bool m_faultShown = false;
};
