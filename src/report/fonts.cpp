#include "report/fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace report::fonts {

namespace {

const char wineTahomaPath[] = "/usr/share/wine/fonts/tahoma.ttf";

bool tahomaLoaded = false;

} // namespace

void loadApplicationFonts()
{
    if (tahomaLoaded)
        return;
    tahomaLoaded = true;
    if (QFile::exists(QString::fromLatin1(wineTahomaPath)))
        QFontDatabase::addApplicationFont(QString::fromLatin1(wineTahomaPath));
}

VerticalMetrics verticalMetrics(const QString &family)
{
    // The named fonts' Windows ascent and descent, over 2048 units to the em.
    if (family == QLatin1String("Arial Black"))
        return {2254 / 2048.0, 634 / 2048.0};
    if (family == QLatin1String("Courier New"))
        return {1705 / 2048.0, 615 / 2048.0};
    if (family == QLatin1String("Tahoma"))
        return {2049 / 2048.0, 423 / 2048.0};
    if (family == QLatin1String("Trebuchet MS"))
        return {1923 / 2048.0, 455 / 2048.0};
    return {};
}

QFont font(const QString &family, qreal pointSize, bool bold, bool italic, bool underline)
{
    QFont result;
    QFont::Weight weight = bold ? QFont::Bold : QFont::Normal;
    if (family == QLatin1String("Arial Black")) {
        // Asked by weight, Qt takes Inter Black for a regular face and
        // emboldens it once more, doubling every glyph in a PDF; asked by
        // style name it takes the face as it is.
        result.setFamilies({QStringLiteral("Inter"), QStringLiteral("DejaVu Sans")});
        result.setStyleName(QStringLiteral("Black"));
        weight = QFont::Normal;
    } else if (family == QLatin1String("Courier New")) {
        result.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
        result.setStyleHint(QFont::TypeWriter);
    } else if (family == QLatin1String("Tahoma")) {
        if (bold) {
            result.setFamilies({QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("DejaVu Sans")});
        } else {
            result.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
        }
    } else if (family == QLatin1String("Trebuchet MS")) {
        result.setFamilies({QStringLiteral("Cabin"), QStringLiteral("DejaVu Sans")});
    } else {
        result.setFamily(family);
    }
    result.setPointSizeF(pointSize);
    result.setWeight(weight);
    result.setItalic(italic);
    result.setUnderline(underline);
    // Sheets are laid out in millimetres: keep glyph advances at their design
    // widths on every device rather than snapped to screen pixels. Texts are
    // set without kerning, as printers' text output has always set them, so a
    // text is the sum of its characters' advances.
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(false);
    return result;
}

QFont font(const FontStyle &style)
{
    return font(style.family, style.pointSize, style.bold, style.italic, style.underline);
}

} // namespace report::fonts
