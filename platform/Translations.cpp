#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Where the build puts the program's own, as a resource.
const char* const kOwnFolder = ":/i18n";

// Loads the translation called name from folder for the first of the locale's
// languages that has one; false where English comes first or none has one.
bool loadFirst(QTranslator& translator, const QLocale& locale, const QString& name,
               const QString& folder)
{
    for (const QString& tag : locale.uiLanguages()) {
        const QLocale language(tag);
        if (language.language() == QLocale::English)
            return false;
        if (language.language() == QLocale::C)
            continue; // "C", "POSIX", or a name Qt does not know
        // Then the language's most spoken variant, as Qt's data has it.
        if (translator.load(language, name, "_", folder) ||
            translator.load(QLocale(language.language()), name, "_", folder))
            return true;
    }
    return false;
}

} // namespace

void installTranslations(const QLocale& locale)
{
    static QPointer<QTranslator> installed[2];
    const QString names[] = {QStringLiteral("calculator"), QStringLiteral("qtbase")};
    for (int i = 0; i < 2; ++i) {
        delete installed[i]; // which uninstalls it
        auto* translator = new QTranslator(QCoreApplication::instance());
        const QString folder =
            i == 0 ? kOwnFolder : QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (loadFirst(*translator, locale, names[i], folder)) {
            QCoreApplication::installTranslator(translator);
            installed[i] = translator;
        } else {
            delete translator;
        }
    }
}

QString translatedEarly(const char* context, const char* text)
{
    QTranslator own;
    QString translated;
    if (loadFirst(own, QLocale::system(), QStringLiteral("calculator"), kOwnFolder))
        translated = own.translate(context, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
