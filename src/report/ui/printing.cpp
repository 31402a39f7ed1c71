#include "report/ui/printing.h"

#include "report/failure.h"
#include "report/layout.h"
#include "report/run.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <cups/cups.h>

#include <algorithm>

namespace report {

void setUpPrinter(QPrinter &printer, const Layout &layout)
{
    printer.setDocName(layout.documentName);
    // First, so that margins the printer cannot reach are accepted below.
    printer.setFullPage(true);

    const QSizeF paperMm(layout.paperWidthUm / 1000.0, layout.paperHeightUm / 1000.0);
    const bool landscape = paperMm.width() > paperMm.height();
    // A page size is named upright; the orientation turns it.
    printer.setPageSize(QPageSize(landscape ? paperMm.transposed() : paperMm, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
}

QList<int> selectedPages(const QPrinter &printer, int pageCount)
{
    const QPageRanges ranges = printer.pageRanges();
    const bool everyPage = printer.printRange() != QPrinter::PageRange || ranges.isEmpty();
    QList<int> pages;
    for (int number = 1; number <= pageCount; ++number) {
        if (everyPage || ranges.contains(number))
            pages.append(number - 1);
    }
    // The printer leaves the order of the pages to whoever paints them.
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());
    return pages;
}

QList<int> withCopies(const QList<int> &pages, int copies, bool collate)
{
    copies = std::max(1, copies);
    QList<int> sequence;
    sequence.reserve(pages.size() * copies);
    if (collate) {
        for (int copy = 0; copy < copies; ++copy)
            sequence.append(pages);
    } else {
        for (const int page : pages) {
            for (int copy = 0; copy < copies; ++copy)
                sequence.append(page);
        }
    }
    return sequence;
}

namespace {

// The id of the newest job of ours on the printer with the document's name,
// made since printing started; 0 when CUPS lists none among those asked for.
int newestOwnJob(const QPrinter &printer, const QDateTime &started, int whichJobs)
{
    const QByteArray printerName = printer.printerName().toLocal8Bit();
    const QByteArray title = printer.docName().toLocal8Bit();
    const time_t since = time_t(started.toSecsSinceEpoch()) - 1;

    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printerName.constData(), 1, whichJobs);
    int newest = 0;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id > newest && jobs[i].creation_time >= since
            && title == QByteArray(jobs[i].title ? jobs[i].title : "")) {
            newest = jobs[i].id;
        }
    }
    cupsFreeJobs(count, jobs);
    return newest;
}

// Qt's CUPS engine cannot abort a job: ending its painter hands the pages
// painted so far to CUPS all the same. Withdraw that job before it reaches
// paper.
void withdrawJob(const QPrinter &printer, const QDateTime &started)
{
    if (const int job = newestOwnJob(printer, started, CUPS_WHICHJOBS_ACTIVE))
        cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.printerName().toLocal8Bit().constData(), job, 0);
}

// Qt's CUPS engine hands the spooled pages to CUPS when its painter ends and
// does not look at the answer, so a job CUPS refused (a page list it cannot
// read, a printer gone meanwhile) would pass for printed. It was refused when
// CUPS reports an error and holds no job of ours since printing started; the
// error alone may be left over from an earlier request, and the missing job
// alone may mean CUPS keeps no history of finished jobs.
void ensureJobAccepted(const QPrinter &printer, const QDateTime &started)
{
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return;
    const QString reason = QString::fromUtf8(cupsLastErrorString());
    if (newestOwnJob(printer, started, CUPS_WHICHJOBS_ALL) == 0)
        throw Failure(QStringLiteral("La stampante ha rifiutato la stampa: %1").arg(reason));
}

} // namespace

bool sendToPrinter(const ReportRun &run, QPrinter &printer, const PageProgress &progress)
{
    // A printer that makes the copies itself gets every page once and the
    // copy count and collation with the job.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const QList<int> pages = withCopies(selectedPages(printer, run.pageCount()), copies,
                                        printer.collateCopies());
    if (pages.isEmpty())
        return true;

    const QDateTime started = QDateTime::currentDateTime();
    bool aborted = false;
    const bool finished = paintPages(run, printer, pages,
                                     [&printer, &progress, &aborted](int done, int total) {
        if (!progress || progress(done, total))
            return true;
        // Before the painter ends the job: ending it would hand the pages
        // painted so far to the printer.
        aborted = printer.abort();
        return false;
    });
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        if (finished)
            ensureJobAccepted(printer, started);
        else if (!aborted)
            withdrawJob(printer, started);
    }
    return finished;
}

void printRun(QWidget *parent, const RunFactory &makeRun)
{
    const std::unique_ptr<ReportRun> run = makeRun();
    run->layoutAll();

    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, run->layout());
    // The range the dialog offers first; it applies only when the user picks it.
    printer.setFromTo(1, run->pageCount());

    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies
                      | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, run->pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;

    QProgressDialog progress(parent);
    progress.setWindowTitle(QStringLiteral("Stampa"));
    progress.setLabelText(QStringLiteral("Stampa in corso..."));
    progress.setCancelButtonText(QStringLiteral("Annulla"));
    // Modal, so that setValue() lets the cancel button be pressed meanwhile.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setRange(0, 0);
    progress.setValue(0);

    sendToPrinter(*run, printer, [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setLabelText(QStringLiteral("Stampa in corso...\nPagina %1 di %2").arg(done).arg(total));
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

} // namespace report
