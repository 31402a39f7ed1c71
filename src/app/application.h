#pragma once

#include <QApplication>

// The application object. Handlers catch their own failures; this is the
// last net under them, so no exception ever unwinds through the event loop.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
