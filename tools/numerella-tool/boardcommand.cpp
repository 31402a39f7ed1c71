#include "commands.h"

#include "pdfoutput.h"
#include "report/failure.h"
#include "report/fonts.h"
#include "sheets/boardsheet.h"

namespace {

const QString usageLine = QStringLiteral("uso: numerella-tool board --pdf OUT");

int usageError(const QString &message)
{
    printError(QStringLiteral("numerella-tool board: ") + message + u'\n' + usageLine);
    return exitUsage;
}

} // namespace

int runBoardCommand(const QStringList &arguments)
{
    QString pdf;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            printOut(usageLine + QStringLiteral(
                "\n\n"
                "Scrive in OUT, un file PDF, il tabellone dei numeri da 1 a 90 su una\n"
                "pagina A4, come lo mostra l'anteprima di stampa. Non serve l'archivio.\n\n"
                "  --pdf OUT   il file PDF da scrivere\n"
                "\n"
                "esempio:\n"
                "  numerella-tool board --pdf tabellone.pdf"));
            return exitSuccess;
        }
        if (argument != u"--pdf")
            return usageError(QStringLiteral("argomento sconosciuto: %1").arg(argument));
        if (i + 1 == arguments.size())
            return usageError(QStringLiteral("manca il valore di %1").arg(argument));
        pdf = arguments.at(++i);
    }
    if (pdf.isEmpty())
        return usageError(QStringLiteral("manca --pdf OUT"));

    try {
        report::fonts::loadApplicationFonts();
        report::Layout layout = sheets::boardSheetLayout();
        sheets::writeBoardNumbers(layout);
        report::ReportRun run(layout, nullptr);
        writeRunToPdf(run, pdf);
    } catch (const Failure &failure) {
        printError(QStringLiteral("numerella-tool board: ") + failure.message());
        return exitFailure;
    }
    return exitSuccess;
}
