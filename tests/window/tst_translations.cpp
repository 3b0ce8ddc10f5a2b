// Qt's own texts, which the standard dialogs show, in the language the program picks for a locale.
#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTest>
#include <QTranslator>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogTexts_data();
    void dialogTexts();
};

void TestTranslations::initTestCase()
{
    const QDir folder(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!folder.exists(QStringLiteral("qtbase_ja.qm")))
        QSKIP(qPrintable(QStringLiteral("%1 is missing: install qt6-translations-l10n (scripts/test installs it)")
                             .arg(folder.filePath(QStringLiteral("qtbase_ja.qm")))));
}

// Rows: the system's locale; whether a translation must be found; the printer dialog's title and the
// Cancel button as the user then reads them.
void TestTranslations::dialogTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("print");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("ja_JP") << QLocale(QStringLiteral("ja_JP")) << true << QStringLiteral("印刷")
                           << QStringLiteral("キャンセル");
    // LANG unset, C, C.UTF-8 and POSIX all give the C locale: the window's language, Japanese.
    QTest::newRow("C") << QLocale::c() << true << QStringLiteral("印刷") << QStringLiteral("キャンセル");
    QTest::newRow("POSIX") << QLocale(QStringLiteral("POSIX")) << true << QStringLiteral("印刷")
                           << QStringLiteral("キャンセル");
    QTest::newRow("de_DE") << QLocale(QStringLiteral("de_DE")) << true << QStringLiteral("Drucken")
                           << QStringLiteral("Abbrechen");
    QTest::newRow("en_US") << QLocale(QStringLiteral("en_US")) << false << QStringLiteral("Print")
                           << QStringLiteral("Cancel");
}

void TestTranslations::dialogTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, loads);
    QFETCH(QString, print);
    QFETCH(QString, cancel);
    QTranslator translator;
    const bool loaded = loadQtTranslations(translator, locale);
    if (loads)
        QVERIFY2(loaded, qPrintable(QStringLiteral("no qtbase translation for %1").arg(locale.name())));
    // English needs no translation (Qt's qtbase_en.qm holds none), so it may load nothing.
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    const QString printText = QCoreApplication::translate("QPrintDialog", "Print");
    const QString cancelText = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(printText, print);
    QCOMPARE(cancelText, cancel);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
