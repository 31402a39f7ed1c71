#include "report/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace report {

namespace {

void install(QCoreApplication &application, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&application);
    if (translator->load(name, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void installItalianTranslations(QCoreApplication &application)
{
    // Qt asks the translator installed last first, so ours, which only
    // fills gaps, goes in after Qt's.
    install(application, QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(application, QStringLiteral("numerella_it"), QStringLiteral(":/translations"));
}

} // namespace report
