#pragma once

#include "report/run.h"

#include <QString>

// Lays a run out and writes it to a PDF file, with a progress bar on stderr
// when that is a terminal. Throws Failure; the file appears only when whole.
void writeRunToPdf(report::ReportRun &run, const QString &path);
