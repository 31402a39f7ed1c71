#include "commands.h"

#include <QGuiApplication>

#include <algorithm>
#include <iterator>

namespace {

// One row per sub-command, in the order the help lists them.
constexpr Command commands[] = {
    {"store", "crea un archivio di cartelle (Data.prm) estratte a caso", runStoreCommand},
    {"cards", "scrive in un PDF le cartelle dell'archivio, cinque per pagina", runCardsCommand},
    {"board", "scrive in un PDF il tabellone dei numeri da 1 a 90", runBoardCommand},
};

QString usage()
{
    QString text = QStringLiteral("uso: numerella-tool COMANDO [OPZIONI]\n\ncomandi:\n");
    for (const Command &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -8).arg(QString::fromUtf8(command.summary));
    text += QStringLiteral("\n\"numerella-tool COMANDO --help\" descrive le opzioni di un comando.");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    // Commands that draw sheets need Qt Gui; the offscreen platform lets
    // every command run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printError(usage());
        return exitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        printOut(usage());
        return exitSuccess;
    }
    const auto command = std::find_if(std::begin(commands), std::end(commands),
                                      [&name](const Command &c) { return name == QLatin1String(c.name); });
    if (command == std::end(commands)) {
        printError(QStringLiteral("numerella-tool: comando sconosciuto: %1\n").arg(name) + usage());
        return exitUsage;
    }
    return command->run(arguments);
}
