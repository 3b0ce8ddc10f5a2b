// The time stamp: the locale's date and time with seconds, whole inside the window.
#include "units.h"
#include "ladder/stamp.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>

class TestStamp : public QObject
{
    Q_OBJECT

private slots:
    void fitsTheWindow_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("C") << "C" << "7 Dec 2026 13:44:05";
        QTest::newRow("Japanese") << "ja_JP" << "2026/12/07 13:44:05";
        QTest::newRow("US English") << "en_US" << "12/7/26 1:44:05\u202fPM";
        QTest::newRow("German") << "de_DE" << "07.12.26 13:44:05";
    }

    void fitsTheWindow()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const QDateTime when(QDate(2026, 12, 7), QTime(13, 44, 5));
        const QString stamp = ladder::stampText(QLocale(locale), when);
        // Some Qt versions separate "PM" by a plain space, others by a narrow one.
        QCOMPARE(QString(stamp).replace(QChar(0x202f), QLatin1Char(' ')),
                 QString(text).replace(QChar(0x202f), QLatin1Char(' ')));

        // From x = 7250 twips to the client area's right edge, at most bold 12 point.
        const double room = kClientWidthTwips - 7250;
        const QFont font = ladder::stampFont(stamp, room);
        const QImage drawing(1, 1, QImage::Format_ARGB32_Premultiplied);
        QVERIFY(font.bold());
        QVERIFY(font.pointSizeF() <= 12);
        QVERIFY(QFontMetricsF(font, &drawing).horizontalAdvance(stamp) * 15 <= room);
    }
};

QTEST_MAIN(TestStamp)
#include "tst_stamp.moc"
