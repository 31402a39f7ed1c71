#include "commands.h"

#include "pdfoutput.h"
#include "report/failure.h"
#include "report/fonts.h"
#include "sheets/cardsheet.h"
#include "store/cardstore.h"

namespace {

const QString usageLine = QStringLiteral(
    "uso: numerella-tool cards --pdf OUT [--count N] [--series TESTO] [--store FILE]");

QString help()
{
    return usageLine + QStringLiteral(
        "\n\n"
        "Scrive in OUT, un file PDF, le cartelle da 1 a N dell'archivio, cinque\n"
        "per pagina A4, come le mostra l'anteprima di stampa.\n\n"
        "  --pdf OUT       il file PDF da scrivere\n"
        "  --count N       numero di cartelle, da 1 a 6000 (predefinito 1)\n"
        "  --series TESTO  la serie stampata su ogni cartella (predefinita \"A\")\n"
        "  --store FILE    l'archivio delle cartelle (predefinito Data.prm\n"
        "                  nella cartella corrente)\n"
        "\n"
        "esempi:\n"
        "  numerella-tool cards --pdf cartella.pdf\n"
        "      la cartella 1, serie A, dall'archivio Data.prm della cartella corrente\n"
        "  numerella-tool cards --count 600 --series B --pdf serie-b.pdf\n"
        "      le cartelle da 1 a 600 con la serie B: 120 pagine\n"
        "  numerella-tool cards --count 30 --store Data.prm --pdf sera.pdf\n"
        "      le prime 30 cartelle dall'archivio indicato: 6 pagine");
}

int usageError(const QString &message)
{
    printError(QStringLiteral("numerella-tool cards: ") + message + u'\n' + usageLine);
    return exitUsage;
}

} // namespace

int runCardsCommand(const QStringList &arguments)
{
    QString pdf;
    int count = 1;
    QString series = QStringLiteral("A");
    QString storeFile = QStringLiteral("Data.prm");

    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            printOut(help());
            return exitSuccess;
        }
        if (argument != u"--pdf" && argument != u"--count" && argument != u"--series"
            && argument != u"--store") {
            return usageError(QStringLiteral("argomento sconosciuto: %1").arg(argument));
        }
        if (i + 1 == arguments.size())
            return usageError(QStringLiteral("manca il valore di %1").arg(argument));
        const QString value = arguments.at(++i);
        if (argument == u"--pdf") {
            pdf = value;
        } else if (argument == u"--count") {
            bool ok = false;
            count = value.toInt(&ok);
            if (!ok || count < 1 || count > 6000 || value.startsWith(u'+'))
                return usageError(QStringLiteral("numero di cartelle non valido: %1 (deve essere da 1 a 6000)").arg(value));
        } else if (argument == u"--series") {
            series = value;
        } else {
            storeFile = value;
        }
    }
    if (pdf.isEmpty())
        return usageError(QStringLiteral("manca --pdf OUT"));
    if (storeFile.contains(u';'))
        return usageError(QStringLiteral("nome di archivio non valido: %1").arg(storeFile));

    try {
        report::fonts::loadApplicationFonts();
        store::Connection connection;
        connection.setConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Mode=Share Deny None;")
                .arg(storeFile));
        store::QueryDataSet selection(&connection);
        selection.setCommandText(store::selectionQuery(count));
        selection.open();
        store::DataSource source(&selection);
        store::DBPipeline pipeline(&source);

        report::Layout layout = sheets::cardSheetLayout();
        sheets::setSeriesLetter(layout, series);
        report::ReportRun run(layout, &pipeline);
        writeRunToPdf(run, pdf);
    } catch (const Failure &failure) {
        printError(QStringLiteral("numerella-tool cards: ") + failure.message());
        return exitFailure;
    }
    return exitSuccess;
}
