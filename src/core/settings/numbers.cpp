#include "numbers.h"
#include "layout.h"

#include <QByteArray>

#include <cmath>
#include <limits>

namespace settings {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Scans digits, an optional point and fraction from position; returns how many digits it met.
int scanMantissa(const QString &text, qsizetype &position)
{
    int digits = 0;
    while (position < text.size() && isDigit(text[position])) {
        ++position;
        ++digits;
    }
    if (position < text.size() && text[position] == u'.') {
        ++position;
        while (position < text.size() && isDigit(text[position])) {
            ++position;
            ++digits;
        }
    }
    return digits;
}

void skipBlanks(const QString &text, qsizetype &position)
{
    while (position < text.size() && isBlank(text[position]))
        ++position;
}

void skipSign(const QString &text, qsizetype &position)
{
    if (position < text.size() && (text[position] == u'+' || text[position] == u'-'))
        ++position;
}

// The power of ten of the first significant digit of a number known to be well formed, or
// nothing when every digit is 0. Only its sign matters, so the exponent is clipped.
std::optional<long> decimalOrder(QStringView number)
{
    long order = 0;
    bool significant = false;
    bool afterPoint = false;
    qsizetype i = 0;
    for (; i < number.size() && number[i] != u'e' && number[i] != u'E'; ++i) {
        const QChar c = number[i];
        if (c == u'.') {
            afterPoint = true;
        } else if (isDigit(c)) {
            if (!significant && c != u'0') {
                significant = true;
                order = afterPoint ? order - 1 : 0;
            } else if (significant && !afterPoint) {
                ++order;
            } else if (!significant && afterPoint) {
                --order;
            }
        }
    }
    if (!significant)
        return std::nullopt;
    if (i < number.size()) {
        const QStringView exponent = number.mid(i + 1);
        const bool negative = exponent.startsWith(u'-');
        long value = 0;
        for (QChar c : exponent) {
            if (isDigit(c))
                value = qMin(value * 10 + (c.unicode() - '0'), 1000000L);
        }
        order += negative ? -value : value;
    }
    return order;
}

// Converts ASCII text already known to be a number. Overflow fails; underflow gives a zero.
std::optional<double> convert(QStringView number)
{
    bool ok = false;
    const double value = number.toLatin1().toDouble(&ok);
    if (ok)
        return value;
    const std::optional<long> order = decimalOrder(number);
    if (order && *order > 0)
        return std::nullopt;
    return number.startsWith(u'-') ? -0.0 : 0.0;
}

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype position = 0;
    skipBlanks(text, position);
    const qsizetype start = position;
    skipSign(text, position);
    if (scanMantissa(text, position) == 0)
        return 0.0;
    const std::optional<double> value = convert(QStringView(text).mid(start, position - start));
    if (value)
        return *value;
    return text[start] == u'-' ? -std::numeric_limits<double>::infinity()
                               : std::numeric_limits<double>::infinity();
}

std::optional<double> numberValue(const QString &text)
{
    qsizetype position = 0;
    skipBlanks(text, position);
    const qsizetype start = position;
    skipSign(text, position);
    if (scanMantissa(text, position) == 0)
        return std::nullopt;
    if (position < text.size() && (text[position] == u'e' || text[position] == u'E')) {
        ++position;
        skipSign(text, position);
        const qsizetype exponentStart = position;
        while (position < text.size() && isDigit(text[position]))
            ++position;
        if (position == exponentStart)
            return std::nullopt;
    }
    const qsizetype end = position;
    skipBlanks(text, position);
    if (position != text.size())
        return std::nullopt;
    return convert(QStringView(text).mid(start, end - start));
}

std::optional<int16_t> roundHalfEven16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0)
        return std::nullopt;
    return int16_t(whole);
}

std::optional<int16_t> wholeNumber(const QString &text)
{
    const std::optional<double> value = numberValue(text);
    if (!value)
        return std::nullopt;
    return roundHalfEven16(*value);
}

std::optional<float> singleValue(const QString &text)
{
    const std::optional<double> value = numberValue(text);
    if (!value || std::abs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

bool testedBelow(const QString &text, double threshold)
{
    const std::optional<double> value = numberValue(text);
    return !value || *value < threshold;
}

int16_t openingGroup(const QString &groupLine)
{
    const std::optional<int16_t> group = roundHalfEven16(leadingNumber(groupLine) + 1.0);
    return group && isGroup(*group) ? *group : int16_t(1);
}

QString formatCount(int value)
{
    return QString::number(value);
}

QString formatPosition(float twips)
{
    if (!std::isfinite(twips) || twips == 0.0f)
        return QStringLiteral("0");
    return QString::number(double(twips), 'g', 7);
}

} // namespace settings
