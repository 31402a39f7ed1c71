#pragma once

#include "report/layout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace report {

// Measures texts in millimetres for layout decisions (fitted label boxes,
// line breaks), with unhinted fonts at a fine resolution so the result does
// not depend on the device the page is later drawn on.
class TextMeasure
{
public:
    qreal widthMm(const FontStyle &font, const QString &text);
    qreal lineHeightMm(const FontStyle &font);   // ascent plus descent

private:

    struct Measured
    {
        FontStyle font;
        std::unique_ptr<QFontMetricsF> metrics;
        QHash<QString, qreal> widths;   // fitted labels repeat on every band
    };
    Measured &entry(const FontStyle &font);

    std::vector<Measured> m_metrics;
};

} // namespace report
