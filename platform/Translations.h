#pragma once

#include <QLocale>
#include <QString>

// The program's own texts and Qt's in the person's language: the first of the
// locale's languages (for the system's: LANGUAGE, then LC_ALL, LC_MESSAGES or
// LANG, as Qt reads them) that has a translation, or failing that the same
// language of another territory (Portuguese in Portugal reads the Brazilian
// one). English, the texts' own language, where it comes first or where no
// language has one. Each of the two is looked for on its own: Qt's may be
// there where the program's is not. The program's are built into it; Qt's
// come from Qt's translations folder (qt6-translations-l10n).

// Installs the translations for the locale in place of those installed before.
// Call it once the application object is there and before the windows are
// made: each window translates its texts as it makes them.
void installTranslations(const QLocale& locale = QLocale::system());

// A text of the program's in the system's language before the application
// object is there, for a message that tells why it could not be made.
QString translatedEarly(const char* context, const char* text);
