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
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *catalogue : {"qtbase_it", "qt_it"}) {
        auto *translator = new QTranslator(this);
        if (translator->load(QString::fromLatin1(catalogue), folder))
            installTranslator(translator);
        else
            delete translator;
    }
}
