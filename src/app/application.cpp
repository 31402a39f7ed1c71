#include "app/application.h"

#include "app/failurereport.h"

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
