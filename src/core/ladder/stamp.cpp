#include "stamp.h"

#include "ladder/surface.h"
#include "units.h"

#include <QFontMetricsF>
#include <QImage>

namespace ladder {

namespace {

constexpr double kStampPointSize = 12;
constexpr double kSmallestPointSize = 6;

} // namespace

QString stampText(const QLocale &locale, const QDateTime &when)
{
    QString time = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype minutes = time.lastIndexOf(QLatin1String("mm"));
    if (!time.contains(QLatin1Char('s')) && minutes >= 0) {
        // The seconds follow the minutes with the separator that stands before the minutes.
        const QChar before = minutes > 0 ? time.at(minutes - 1) : QLatin1Char(':');
        const QChar separator = before.isLetter() ? QLatin1Char(':') : before;
        time.insert(minutes + 2, QString(separator) + QLatin1String("ss"));
    }
    return locale.toString(when, locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') + time);
}

QFont stampFont(const QString &text, double roomTwips)
{
    const double room = roomTwips / kTwipsPerPixel;
    // Measured on an image like the window's drawing (96 dots per inch), not on the screen.
    const QImage drawing(1, 1, QImage::Format_ARGB32_Premultiplied);
    QFont font = programFont(kStampPointSize, true);
    for (double size = kStampPointSize; size > kSmallestPointSize; size -= 0.5) {
        font = programFont(size, true);
        if (QFontMetricsF(font, &drawing).horizontalAdvance(text) <= room)
            break;
    }
    return font;
}

} // namespace ladder
