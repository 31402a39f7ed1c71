#include "commands.h"

#include "report/translations.h"

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
    QString text = QStringLiteral(
        "uso: numerella-tool COMANDO [OPZIONI]\n"
        "\n"
        "Prepara l'archivio delle cartelle di Numerella e scrive in PDF le cartelle\n"
        "e il tabellone, senza aprire finestre.\n"
        "\n"
        "comandi:\n");
    for (const Command &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -8).arg(QString::fromUtf8(command.summary));
    text += QStringLiteral(
        "\n"
        "opzioni:\n"
        "  -h, --help  mostra questo aiuto\n"
        "  --version   mostra la versione\n"
        "\n"
        "esempi:\n"
        "  numerella-tool store --cards 6000 Data.prm\n"
        "  numerella-tool cards --count 600 --series B --pdf cartelle.pdf\n"
        "  numerella-tool board --pdf tabellone.pdf\n"
        "\n"
        "\"numerella-tool COMANDO --help\" descrive le opzioni di un comando.\n"
        "Codici di uscita: 0 fatto, 1 lavoro non riuscito, 2 argomenti sbagliati.");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    // Commands that draw sheets need Qt Gui; the offscreen platform lets
    // every command run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes to developers (a missing runtime folder, a font fallback)
    // would reach the user in English among the tool's own messages.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            printError(message);
    });
    QGuiApplication application(argc, argv);
    report::installItalianTranslations(application);

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
    if (name == u"--version") {
        printOut(QStringLiteral("numerella-tool " NUMERELLA_VERSION));
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
