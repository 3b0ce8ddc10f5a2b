// The history as CSV for spreadsheet programs, and `amidakuji --history-csv FILE`, which writes it
// without a window.
#include "history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

// Quoted as Excel quotes a field: only when it holds a comma, a quote or a line break, with each
// quote doubled.
QString field(QString text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

void appendLine(QByteArray &csv, const QStringList &fields)
{
    QStringList quoted;
    for (const QString &text : fields)
        quoted << field(text);
    csv += quoted.join(u',').toUtf8();
    csv += "\r\n";
}

void printError(const QString &message)
{
    std::fprintf(stderr, "amidakuji: %s\n", qPrintable(message));
}

} // namespace

QString historyModeName(int mode)
{
    switch (mode) {
    case 0:
        return QStringLiteral("あたり");
    case 1:
        return QStringLiteral("くじ引き");
    case 2:
        return QStringLiteral("番号");
    default:
        return QString::number(mode);
    }
}

QByteArray historyCsv(const QList<HistoryLottery> &lotteries, bool withBom)
{
    QByteArray csv = withBom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    appendLine(csv, {QStringLiteral("日時"), QStringLiteral("グループ"), QStringLiteral("メモ"), QStringLiteral("モード"),
                     QStringLiteral("回"), QStringLiteral("状態"), QStringLiteral("名前"), QStringLiteral("結果")});
    for (const HistoryLottery &lottery : lotteries) {
        const QStringList common = {lottery.fixedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                                    QString::number(lottery.group), lottery.memo, historyModeName(lottery.mode),
                                    QString::number(lottery.round), lottery.state};
        // A lottery without rows still shows as one line.
        if (lottery.rows.isEmpty())
            appendLine(csv, common + QStringList{QString(), QString()});
        for (const HistoryRow &row : lottery.rows)
            appendLine(csv, common + QStringList{row.name, row.result});
    }
    return csv;
}

int exportHistoryCsv(const QString &target)
{
    // No history yet is an empty one: exporting does not make the file.
    const QString path = History::defaultPath();
    QList<HistoryLottery> lotteries;
    if (QFileInfo::exists(path)) {
        History history;
        if (!history.open(path)) {
            printError(QStringLiteral("cannot open the history %1: %2").arg(QDir::toNativeSeparators(path), history.error()));
            return 1;
        }
        if (!history.notice().isEmpty())
            printError(history.notice());
        lotteries = history.lotteries();
        if (!history.error().isEmpty()) {
            printError(QStringLiteral("cannot read the history %1: %2").arg(QDir::toNativeSeparators(path), history.error()));
            return 1;
        }
    }
    if (target == QLatin1String("-")) {
        const QByteArray csv = historyCsv(lotteries, false);
        if (std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout) != size_t(csv.size()) || std::fflush(stdout) != 0) {
            printError(QStringLiteral("cannot write the history to standard output"));
            return 1;
        }
        return 0;
    }
    // Written whole or not at all, so an older export is never left cut short.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(historyCsv(lotteries, true)) < 0 || !file.commit()) {
        printError(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(target), file.errorString()));
        return 1;
    }
    return 0;
}
