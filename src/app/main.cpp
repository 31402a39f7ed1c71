#include "app/application.h"
#include "app/cartelle.h"
#include "app/resources.h"
#include "board/cartellone.h"
#include "report/fonts.h"
#include "report/translations.h"

#include <QIcon>

namespace {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 128})
        icon.addFile(QStringLiteral(":/app/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    // The title names every message box, so it is set before any window can fail.
    QCoreApplication::setApplicationName(QStringLiteral("Numerella"));
    // Lets the desktop match the windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.numerella.Numerella"));
    report::installItalianTranslations(application);
    report::fonts::loadApplicationFonts();

    app::ensureResources();
    QApplication::setWindowIcon(programIcon());

    auto *cartelle = new TCartelle;
    auto *electronicBoard = new board::TCartelloneElettronico;   // kept hidden for the whole run

    cartelle->show();
    const int result = QApplication::exec();

    // Windows go in the reverse order of their creation; the main window
    // closes the card store as it goes.
    delete electronicBoard;
    delete cartelle;
    return result;
}
