#pragma once

#include "report/run.h"

#include <QList>
#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace report {

// Called after each page with the pages done and the pages to do; returning
// false stops before the next page.
using PageProgress = std::function<bool(int done, int total)>;

// Paints pages of a laid-out run, one sheet each, in the given order, with
// the paper's corner at the device's origin (the caller sets a full page
// without margins). Returns false when the progress callback stopped it.
bool paintPages(const ReportRun &run, QPagedPaintDevice &device, const QList<int> &pageIndexes,
                const PageProgress &progress = {});

// Every page index of a laid-out run, from the first.
QList<int> allPages(const ReportRun &run);

// Writes every page to a PDF file. The file appears only when it is whole:
// a failure or a stop leaves no file and no half-written one in its place.
// Throws Failure with the file system's message; returns false when stopped.
bool writePdf(const ReportRun &run, const QString &path, const PageProgress &progress = {});

} // namespace report
