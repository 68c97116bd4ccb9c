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

void replace(QPointer<QTranslator>& installed, const QLocale& locale, const QString& name,
             const QString& folder)
{
    delete installed; // which uninstalls it
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (loadFirst(*translator, locale, name, folder)) {
        QCoreApplication::installTranslator(translator);
        installed = translator;
    } else {
        delete translator;
    }
}

} // namespace

void installTranslations(const QLocale& locale)
{
    // The one installed last is asked first: Qt's, for Qt's texts only.
    static QPointer<QTranslator> own;
    static QPointer<QTranslator> qts;
    replace(own, locale, QStringLiteral("calculator"), kOwnFolder);
    replace(qts, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString translatedEarly(const char* context, const char* text)
{
    QTranslator own;
    QString translated;
    if (loadFirst(own, QLocale::system(), QStringLiteral("calculator"), kOwnFolder))
        translated = own.translate(context, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
