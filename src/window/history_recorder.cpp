#include "history_recorder.h"

#include <QDir>
#include <QTimer>

namespace {

// A step of the window's waits at most this long while another copy holds the file.
constexpr int kPatienceMs = 100;
// Opening is tried again this often, for about ten seconds in all.
constexpr int kRetryMs = 250;
constexpr int kOpeningTries = 40;

} // namespace

HistoryRecorder::HistoryRecorder(QObject *context, ShowError showError, std::function<void()> opened)
    : m_context(context)
    , m_showError(std::move(showError))
    , m_opened(std::move(opened))
{
}

HistoryRecorder::~HistoryRecorder()
{
    abandon();
}

void HistoryRecorder::open(const QString &path)
{
    tryOpen(path, kOpeningTries);
}

void HistoryRecorder::tryOpen(const QString &path, int triesLeft)
{
    auto opened = std::make_unique<History>();
    opened->setPatience(kPatienceMs);
    if (!opened->open(path)) {
        if (opened->wasBusy() && triesLeft > 1) {
            QTimer::singleShot(kRetryMs, m_context, [this, path, triesLeft] { tryOpen(path, triesLeft - 1); });
            return;
        }
        m_showError(QStringLiteral("抽選の履歴 %1 を開けませんでした。履歴は残さずに続けます。\n理由: %2")
                        .arg(QDir::toNativeSeparators(path), opened->reason()));
        return;
    }
    if (!opened->notice().isEmpty())
        m_showError(opened->notice());
    m_history = std::move(opened);
    m_opened();
}

// Said once in a run, naming the file and why.
void HistoryRecorder::failed()
{
    if (m_faultShown)
        return;
    m_faultShown = true;
    m_showError(QStringLiteral("抽選の履歴 %1 に記録できませんでした。抽選はこのまま続けられます。\n理由: %2")
                    .arg(QDir::toNativeSeparators(m_history->path()), m_history->reason()));
}

void HistoryRecorder::recordStandby(const Lottery &lottery)
{
    if (!m_history)
        return;
    HistoryLottery record;
    // The time the commitment names, so that a text can be found again in the history.
    record.fixedAt = lottery.commitmentTime().isValid() ? lottery.commitmentTime() : QDateTime::currentDateTime();
    record.commitmentHash = lottery.commitmentHash();
    record.group = lottery.group();
    record.memo = lottery.memo();
    record.mode = lottery.drawMode();
    record.winners = lottery.drawMode() == modes::kWinnerMode ? lottery.winners() : 0;
    record.round = lottery.round();
    for (const QString &name : lottery.participants())
        record.rows.append(HistoryRow{name, QString(), false});
    record.participants = record.rows.size();
    m_id = m_history->recordStandby(record);
    if (m_id == 0)
        failed();
}

void HistoryRecorder::recordTrace(const TraceStep &step)
{
    if (m_history && m_id != 0 && !m_history->recordTrace(m_id, step.participant, step.reached))
        failed();
}

void HistoryRecorder::complete(const QDateTime &stamp, const Lottery &lottery)
{
    if (m_history && m_id != 0
        && !m_history->complete(m_id, stamp, lottery.commitmentText().value_or(QByteArray()),
                                lottery.commitmentNonce().value_or(QByteArray())))
        failed();
    m_id = 0;
}

// Leaving is never said: it happens as the window moves on or closes.
void HistoryRecorder::abandon()
{
    if (m_history && m_id != 0)
        m_history->abandon(m_id);
    m_id = 0;
}
