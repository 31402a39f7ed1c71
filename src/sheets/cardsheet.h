#pragma once

#include "report/layout.h"

#include <QString>

// The card sheet: five cards to an A4 portrait page, each a 3 x 9 cell grid
// over an advert strip with the card number box, and a footer on every page.
namespace sheets {

// The layout of ReportTombola; its series letter label ppLabel93 starts empty.
report::Layout cardSheetLayout();

// The element that shows Campo<n> (1 to 27) of a card.
QString cardCellElement(int campo);

// Sets the text every card of the next run prints in its number box.
void setSeriesLetter(report::Layout &layout, const QString &series);
QString seriesLetter(const report::Layout &layout);

// The advert strip's fixed texts.
inline constexpr char advertBusinessLine[] = "Forno Girasole dal 1968";
inline constexpr char advertContactLine[] = "Tel. 0123 456789";
inline constexpr char advertWebLink[] = "girasole.example";

} // namespace sheets
