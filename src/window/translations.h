#pragma once
// Qt's own texts (the standard dialogs' buttons, labels and messages) in the user's language.

#include <QLocale>

class QTranslator;

// The language Qt's texts are loaded for: the locale's own, except that the C and POSIX locales
// (no language chosen, as when LANG is unset) get Japanese, the language of the window.
QLocale dialogLocale(const QLocale &locale);

// Loads Qt's "qtbase" translation for dialogLocale(locale) from Qt's translations folder into the
// translator; false when there is none for that language (English needs none).
bool loadQtTranslations(QTranslator &translator, const QLocale &locale);
