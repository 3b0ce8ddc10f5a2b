#include "verify.h"
#include "commitment/commitment.h"
#include "history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <optional>

namespace {

// A commitment text holds at most 37 short lines; anything far larger is no such text.
constexpr qint64 kLargestText = 1 << 20;
// A code that is no code is a command line not understood.
constexpr int kBadCode = 2;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The file's bytes, or the reason they cannot be had.
std::optional<QByteArray> readFile(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *why = QStringLiteral("ファイル %1 がありません。").arg(native(path));
        return std::nullopt;
    }
    if (info.isDir()) {
        *why = QStringLiteral("%1 はフォルダーです。照合用テキストのファイルを指定してください。").arg(native(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("ファイル %1 を読めません（%2）。").arg(native(path), file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kLargestText + 1);
    if (bytes.size() > kLargestText) {
        *why = QStringLiteral("ファイル %1 は照合用テキストには大きすぎます。").arg(native(path));
        return std::nullopt;
    }
    return bytes;
}

QString modeName(int mode)
{
    static const QStringList names{QStringLiteral("あたりモード"), QStringLiteral("くじ引きモード"),
                                   QStringLiteral("番号モード")};
    return names.value(mode);
}

QString lotteryName(const HistoryLottery &lottery)
{
    const QString time = historyTimeText(lottery.fixedAt);
    return lottery.memo.isEmpty() ? time : QStringLiteral("%1「%2」").arg(time, lottery.memo);
}

// The lottery in the history that the text speaks of: the one with its hash; else one fixed at
// the same second, else one with the same memo, round and participant count (the text changed
// there), newest first.
struct Found
{
    std::optional<HistoryLottery> sameHash;
    std::optional<HistoryLottery> sameLottery;
};

Found lookUp(const History &history, const commitment::Content &content, const QByteArray &hash)
{
    Found found;
    std::optional<HistoryLottery> sameMemo;
    for (const HistoryLottery &lottery : history.lotteries()) {
        if (lottery.commitmentHash == hash && !found.sameHash)
            found.sameHash = lottery;
        else if (!found.sameLottery && lottery.fixedAt.toSecsSinceEpoch() == content.fixedAt.toSecsSinceEpoch())
            found.sameLottery = lottery;
        else if (!sameMemo && lottery.memo == content.memo && lottery.round == content.round
                 && lottery.participants == content.rows.size())
            sameMemo = lottery;
    }
    if (!found.sameLottery)
        found.sameLottery = sameMemo;
    return found;
}

// Where the file departs from the text the history kept for the same lottery, if it kept one.
QStringList whereItDiffers(const History *history, const std::optional<HistoryLottery> &same, const QByteArray &bytes)
{
    if (!history || !same || same->commitmentHash.isEmpty())
        return {};
    QStringList lines{QStringLiteral("履歴の抽選 %1 のコードは %2 です。")
                          .arg(lotteryName(*same), commitment::shortCode(same->commitmentHash))};
    const QByteArray kept = history->commitmentText(same->id);
    const int line = kept.isEmpty() ? 0 : commitment::firstDifferentLine(kept, bytes);
    if (line > 0) {
        const auto lineOf = [line](const QByteArray &text) {
            return QString::fromUtf8(text.split('\n').value(line - 1)).replace(u'\t', u' ');
        };
        lines << QStringLiteral("%1 行目が履歴の照合用テキストと違います。").arg(line)
              << QStringLiteral("  履歴:     %1").arg(lineOf(kept))
              << QStringLiteral("  ファイル: %1").arg(lineOf(bytes));
    }
    return lines;
}

} // namespace

Verdict verifyCommitment(const QString &path, const QString &code, const History *history)
{
    Verdict verdict;
    // The code as typed: groups of digits, capitals or not, dashes and spaces between.
    QString given = code.toLower();
    given.remove(QRegularExpression(QStringLiteral("[-\\s]")));
    if (!code.isEmpty() && !QRegularExpression(QStringLiteral("^[0-9a-f]{8,64}$")).match(given).hasMatch()) {
        verdict.err << QStringLiteral("照合コード「%1」は 1a2b-3c4d のような 16 進数 8 桁ではありません。").arg(code);
        verdict.status = kBadCode;
        return verdict;
    }
    QString why;
    const std::optional<QByteArray> bytes = readFile(path, &why);
    if (!bytes) {
        verdict.err << why;
        return verdict;
    }
    const commitment::Reading read = commitment::readText(*bytes);
    if (!read.content) {
        verdict.err << (read.line > 0 ? QStringLiteral("%1 の %2 行目: %3").arg(native(path)).arg(read.line).arg(read.error)
                                      : QStringLiteral("%1: %2").arg(native(path), read.error));
        return verdict;
    }
    const commitment::Content &content = *read.content;
    const QByteArray hash = commitment::sha256Hex(*bytes);
    const QString fileCode = commitment::shortCode(hash);
    verdict.out << QStringLiteral("照合コード %1").arg(fileCode) << QStringLiteral("SHA-256 %1").arg(QString::fromLatin1(hash));
    QString heading = QStringLiteral("%1 %2").arg(QString::fromLatin1(commitment::timeText(content.fixedAt)), modeName(content.mode));
    if (content.round > 1)
        heading += QStringLiteral(" 第%1回").arg(content.round);
    if (!content.memo.isEmpty())
        heading += QStringLiteral(" 「%1」").arg(content.memo);
    verdict.out << heading;
    for (const commitment::Row &row : content.rows)
        verdict.out << QStringLiteral("%1 ：%2").arg(row.name, row.result);

    const Found found = history ? lookUp(*history, content, hash) : Found{};
    if (!code.isEmpty()) {
        if (given == QString::fromLatin1(hash.left(given.size()))) {
            verdict.out << QStringLiteral("一致");
            verdict.status = 0;
            return verdict;
        }
        verdict.err << QStringLiteral("不一致: このファイルのコードは %1 で、指定されたコード %2 ではありません。").arg(fileCode, code);
        verdict.err << whereItDiffers(history, found.sameLottery, *bytes);
        return verdict;
    }
    if (found.sameHash) {
        verdict.out << QStringLiteral("一致（履歴の抽選 %1 が準備完了のときに記録したコードと同じです）").arg(lotteryName(*found.sameHash));
        verdict.status = 0;
        return verdict;
    }
    if (found.sameLottery && !found.sameLottery->commitmentHash.isEmpty()) {
        verdict.err << QStringLiteral("不一致: 履歴にこのコードの抽選はありません。");
        verdict.err << whereItDiffers(history, found.sameLottery, *bytes);
        return verdict;
    }
    verdict.err << QStringLiteral("照合するものがありません: 履歴にこの抽選はありません。準備完了のときに見た照合コードを "
                                  "amidakuji --verify FILE CODE のように指定してください。");
    return verdict;
}

int runVerify(const QString &path, const QString &code)
{
    // No history yet is no fault: the code given is then all there is to compare with.
    History history;
    const QString historyPath = History::defaultPath();
    const bool readable = QFileInfo::exists(historyPath) && history.openForReading(historyPath);
    const Verdict verdict = verifyCommitment(path, code, readable ? &history : nullptr);
    for (const QString &line : verdict.out)
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    for (const QString &line : verdict.err)
        std::fprintf(stderr, "amidakuji: %s\n", line.toUtf8().constData());
    return verdict.status;
}
