// The commitment standby makes to the fixed results: composed in memory at standby, its code shown
// at once, its text handed out only once every path is traced.
#include "lottery.h"
#include "ladder/path.h"

QString Lottery::fixedResult(int participant) const
{
    const int row = ladder::followRoute(st.ladder, participant, st.man_count).finalLine - 1;
    const QString &text = m_hidden.at(row).text;
    return text.isEmpty() && st.draw_mode == modes::kWinnerMode ? kNoWin : text;
}

// Each standby takes a fresh nonce and the time; the draw's generator is not touched, so the
// draws stay what they were without a commitment.
void Lottery::commitToResults()
{
    commitment::Content content;
    content.memo = m_memo;
    content.mode = st.draw_mode;
    content.round = m_round;
    QDateTime now = m_sources.clock->now();
    content.fixedAt = now.addMSecs(-now.time().msec());
    for (int i = 0; i < st.man_count; ++i)
        content.rows.append(commitment::Row{m_names.at(i), fixedResult(i)});
    content.nonce = m_sources.nonce->nonce(commitment::kNonceBytes);
    m_commitment = commitment::commit(content);
}

QString Lottery::commitmentCode() const
{
    return m_commitment ? m_commitment->code() : QString();
}

QByteArray Lottery::commitmentHash() const
{
    return m_commitment ? m_commitment->hash : QByteArray();
}

QDateTime Lottery::commitmentTime() const
{
    return m_commitment ? m_commitment->fixedAt : QDateTime();
}

std::optional<QByteArray> Lottery::commitmentText() const
{
    if (!m_commitment || !allTraced())
        return std::nullopt;
    return m_commitment->text;
}

std::optional<QByteArray> Lottery::commitmentNonce() const
{
    if (!m_commitment || !allTraced())
        return std::nullopt;
    return m_commitment->nonceHex;
}
