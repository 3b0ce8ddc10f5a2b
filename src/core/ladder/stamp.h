#pragma once
// The time stamp written when every path has been traced.

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QString>

namespace ladder {

// The locale's short date and short time with the seconds added ("2026/12/07 13:44:05" in
// Japanese, "7 Dec 2026 13:44:05" in the C locale).
QString stampText(const QLocale &locale, const QDateTime &when);

// The stamp's font, bold 12 point, made smaller where the text would not fit into roomTwips.
QFont stampFont(const QString &text, double roomTwips);

} // namespace ladder
