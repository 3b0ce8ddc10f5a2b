#include "commitment_harness.h"
#include "commitment/commitment.h"

namespace fuzz {

QString commitmentProblem(QByteArrayView input)
{
    const QByteArray bytes = input.toByteArray();
    const commitment::Reading read = commitment::readText(bytes);
    if (!read.content) {
        const int lines = int(bytes.count('\n')) + 1;
        if (read.error.isEmpty())
            return QStringLiteral("refused without a reason");
        if (read.line < 0 || read.line > lines + 1)
            return QStringLiteral("refused at line %1 of %2").arg(read.line).arg(lines);
        return {};
    }
    const QByteArray written = commitment::canonicalText(*read.content);
    if (written != bytes)
        return QStringLiteral("read, but written back differs at line %1")
            .arg(commitment::firstDifferentLine(written, bytes));
    const commitment::Reading again = commitment::readText(written);
    if (!again.content || again.content->rows != read.content->rows || again.content->memo != read.content->memo)
        return QStringLiteral("written back, but read differently");
    if (commitment::shortCode(commitment::sha256Hex(bytes)).size() != 9)
        return QStringLiteral("no code");
    return {};
}

} // namespace fuzz
