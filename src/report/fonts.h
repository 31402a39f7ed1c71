#pragma once

#include "report/layout.h"

#include <QFont>
#include <QString>

// The one place that maps the families the windows and sheets name onto the
// free fonts Debian ships:
//
//   Arial Black   -> Inter, Black weight (fonts-inter). Plain fontconfig would
//                    fall back to a regular weight, far too light for the cells.
//   Courier New   -> Liberation Mono (fonts-liberation2), same metrics.
//   Tahoma        -> Wine's Tahoma (fonts-wine), same metrics, for the regular
//                    face. Its bold face is bold only in spacing, so bold Tahoma
//                    uses DejaVu Sans Condensed Bold (fonts-dejavu-extra), within
//                    about 1% of Tahoma Bold's widths.
//   Trebuchet MS  -> Cabin (fonts-cabin), a humanist sans of similar proportions.
//
// Wine installs its fonts in a folder fontconfig does not scan, so the program
// loads Tahoma itself; call loadApplicationFonts() once a QGuiApplication exists.
//
// Texts are set from the top of their boxes, so where the glyphs land
// depends on the font's ascent. The substitutes' ascents differ from the
// named fonts' (Inter's is 0.97 em where Arial Black's is 1.10), so lines are
// placed with the named family's own ascent and descent: digits sit in the
// card cells where the sheet's designer put them.
namespace report::fonts {

void loadApplicationFonts();

// Ascent and descent of a named family, in em; zero for families not listed.
struct VerticalMetrics
{
    qreal ascentEm = 0;
    qreal descentEm = 0;
};
VerticalMetrics verticalMetrics(const QString &family);

QFont font(const QString &family, qreal pointSize, bool bold = false, bool italic = false,
           bool underline = false);
QFont font(const FontStyle &style);

} // namespace report::fonts
