#include "app/application.h"

#include "app/failurereport.h"

#include <QLibraryInfo>
#include <QTranslator>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        app::reportCurrentException();
    }
    return false;
}

void Application::installItalianTranslations()
{
    // qtbase holds the texts of every standard dialog the program opens.
    auto *translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_it"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}
