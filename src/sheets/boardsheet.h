#pragma once

#include "report/layout.h"

#include <QString>

// The caller's board: one A4 page with the numbers 1 to 90 in nine rows of
// ten bordered cells inside a frame, under the title "TABELLONE".
namespace sheets {

// The layout of ReportCartellone. Its cells hold placeholder captions until
// writeBoardNumbers() fills them.
report::Layout boardSheetLayout();

// The element that shows number n (1 to 90) on the board.
QString boardCellElement(int number);

// Writes "1" to "90" into the ninety number cells.
void writeBoardNumbers(report::Layout &layout);

} // namespace sheets
