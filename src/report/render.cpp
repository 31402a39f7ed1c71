#include "report/render.h"

#include "report/failure.h"
#include "report/painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace report {

namespace {

// A hundredth of a millimetre: ten times finer than a 1200 dpi printer can
// place ink, and coarse enough that coordinates stay short numbers.
constexpr int pdfResolution = 2540;

} // namespace

QList<int> allPages(const ReportRun &run)
{
    QList<int> pages;
    pages.reserve(run.pageCount());
    for (int index = 0; index < run.pageCount(); ++index)
        pages.append(index);
    return pages;
}

bool paintPages(const ReportRun &run, QPagedPaintDevice &device, const QList<int> &pageIndexes,
                const PageProgress &progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw Failure(QStringLiteral("Impossibile iniziare la stampa"));
    PagePainter pagePainter(&device);
    for (qsizetype i = 0; i < pageIndexes.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw Failure(QStringLiteral("Impossibile iniziare una nuova pagina"));
        }
        pagePainter.paint(painter, run.page(pageIndexes.at(i)));
        if (progress && !progress(int(i + 1), int(pageIndexes.size()))) {
            painter.end();
            return false;
        }
    }
    if (!painter.end())
        throw Failure(QStringLiteral("Impossibile completare la stampa"));
    return true;
}

bool writePdf(const ReportRun &run, const QString &path, const PageProgress &progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("%1: %2").arg(path, file.errorString()));

    bool finished = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(pdfResolution);
        writer.setTitle(run.layout().documentName);
        writer.setCreator(QStringLiteral("Numerella"));
        const QSizeF paperMm(run.layout().paperWidthUm / 1000.0, run.layout().paperHeightUm / 1000.0);
        writer.setPageLayout(QPageLayout(QPageSize(paperMm, QPageSize::Millimeter),
                                         QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
        finished = paintPages(run, writer, allPages(run), progress);
    }
    if (!finished) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        throw Failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace report
