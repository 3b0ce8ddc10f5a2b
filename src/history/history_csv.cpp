// The history as CSV for spreadsheet programs, and `amidakuji --history-csv FILE`, which writes it
// without a window.
#include "history.h"
#include "save_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

// The time of the time stamp and of the history window.
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

void appendLine(QByteArray &csv, const QStringList &fields)
{
    QStringList cells;
    for (const QString &text : fields)
        cells << csvCell(text);
    csv += cells.join(u',').toUtf8();
    csv += "\r\n";
}

void printError(const QString &message)
{
    std::fprintf(stderr, "amidakuji: %s\n", qPrintable(message));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

// A spreadsheet takes a cell beginning with one of these for a formula: an apostrophe before it
// keeps it text. Then quoted as Excel quotes a field: only when it holds a comma, a quote or a line
// break, with each quote doubled.
QString csvCell(QString text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        text.prepend(u'\'');
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

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

QString historyResultText(const HistoryLottery &lottery, const HistoryRow &row)
{
    if (!row.traced)
        return kNotTraced;
    if (row.result.isEmpty() && lottery.mode == 0)
        return QStringLiteral("はずれ");
    return row.result;
}

QString historyTimeText(const QDateTime &time)
{
    return time.isValid() ? time.toLocalTime().toString(kTimeFormat) : QString();
}

QByteArray historyCsvHeading(bool withBom)
{
    QByteArray csv = withBom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    appendLine(csv, {QStringLiteral("日時"), QStringLiteral("グループ"), QStringLiteral("メモ"), QStringLiteral("モード"),
                     QStringLiteral("回"), QStringLiteral("状態"), QStringLiteral("名前"), QStringLiteral("結果"),
                     QStringLiteral("全員たどった日時")});
    return csv;
}

QByteArray historyCsvLines(const HistoryLottery &lottery)
{
    QByteArray csv;
    const QStringList common = {historyTimeText(lottery.fixedAt), QString::number(lottery.group), lottery.memo,
                                historyModeName(lottery.mode), QString::number(lottery.round), lottery.state};
    const QString finished = historyTimeText(lottery.finishedAt);
    // A lottery without rows still shows as one line.
    if (lottery.rows.isEmpty())
        appendLine(csv, common + QStringList{QString(), QString(), finished});
    for (const HistoryRow &row : lottery.rows)
        appendLine(csv, common + QStringList{row.name, historyResultText(lottery, row), finished});
    return csv;
}

QByteArray historyCsv(const QList<HistoryLottery> &lotteries, bool withBom)
{
    QByteArray csv = historyCsvHeading(withBom);
    for (const HistoryLottery &lottery : lotteries)
        csv += historyCsvLines(lottery);
    return csv;
}

CsvWritten writeHistoryCsv(const History &history, QIODevice &out, bool withBom)
{
    if (out.write(historyCsvHeading(withBom)) < 0)
        return CsvWritten::WriteFailed;
    bool written = true;
    const bool read = history.forEachLottery([&](const HistoryLottery &lottery) {
        written = out.write(historyCsvLines(lottery)) >= 0;
        return written;
    });
    return !written ? CsvWritten::WriteFailed : read ? CsvWritten::Done : CsvWritten::ReadFailed;
}

int exportHistoryCsv(const QString &target)
{
    const QString path = History::defaultPath();
    const bool toStandardOutput = target == QLatin1String("-");
    // No history yet is an empty one: exporting does not make the file.
    History history;
    const bool any = QFileInfo::exists(path);
    if (any && !history.openForReading(path)) {
        printError(QStringLiteral("抽選の履歴 %1 を読めません。%2").arg(native(path), history.reason()));
        return 1;
    }
    bool readFailed = false;
    const auto write = [&](QIODevice &out) {
        if (!any)
            return out.write(historyCsvHeading(!toStandardOutput)) >= 0;
        const CsvWritten written = writeHistoryCsv(history, out, !toStandardOutput);
        readFailed = written == CsvWritten::ReadFailed;
        return written == CsvWritten::Done;
    };
    QString error;
    bool done = false;
    if (toStandardOutput) {
        QFile out;
        done = out.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) && write(out) && out.flush();
        if (!done && !readFailed)
            error = QStringLiteral("標準出力に書き込めません。");
    } else {
        done = saveFile(target, write, &error);
    }
    if (readFailed) {
        printError(QStringLiteral("抽選の履歴 %1 を読めません。%2").arg(native(path), history.reason()));
        return 1;
    }
    if (!done) {
        printError(error);
        return 1;
    }
    return 0;
}
