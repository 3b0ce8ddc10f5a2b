#include "translations.h"

#include <QLibraryInfo>
#include <QTranslator>

QLocale dialogLocale(const QLocale &locale)
{
    return locale.language() == QLocale::C ? QLocale(QLocale::Japanese, QLocale::Japan) : locale;
}

bool loadQtTranslations(QTranslator &translator, const QLocale &locale)
{
    return translator.load(dialogLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
