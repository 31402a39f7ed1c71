#pragma once

#include "report/render.h"
#include "report/ui/runfactory.h"

#include <QList>

class QPrinter;
class QWidget;

namespace report {

struct Layout;

// The layout's paper in its orientation, the whole sheet with no margins and
// the layout's document name as the job's name: the painter's origin is then
// the paper's corner, where the layout's millimetres are measured from.
void setUpPrinter(QPrinter &printer, const Layout &layout);

// The indexes (from 0) of the pages the printer's range selects out of
// pageCount pages, in the order they are to come out of the printer.
QList<int> selectedPages(const QPrinter &printer, int pageCount);

// The pages as often as there are copies: collated copies repeat the whole
// sequence, uncollated ones repeat each page in its place.
QList<int> withCopies(const QList<int> &pages, int copies, bool collate);

// Prints the pages the printer selects from a laid-out run on a set-up
// printer, painting the copies that the printer cannot make itself. Returns
// false when progress stopped it; the job is then aborted as far as the
// printer allows. Throws Failure when the printer refuses the job.
bool sendToPrinter(const ReportRun &run, QPrinter &printer, const PageProgress &progress = {});

// The print command: lays out a new run from makeRun, asks for the printer,
// the page range, the copies and the collation, then prints in the
// foreground under a progress dialog that can cancel.
void printRun(QWidget *parent, const RunFactory &makeRun);

} // namespace report
