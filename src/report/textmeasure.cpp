#include "report/textmeasure.h"

#include "report/fonts.h"

#include <QImage>

namespace report {

namespace {

constexpr qreal measureDpi = 1200;
constexpr qreal mmPerDot = 25.4 / measureDpi;

QPaintDevice *measureDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(measureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

} // namespace

TextMeasure::Measured &TextMeasure::entry(const FontStyle &font)
{
    for (Measured &known : m_metrics) {
        if (known.font == font)
            return known;
    }
    m_metrics.push_back({font, std::make_unique<QFontMetricsF>(fonts::font(font), measureDevice()), {}});
    return m_metrics.back();
}

qreal TextMeasure::widthMm(const FontStyle &font, const QString &text)
{
    Measured &measured = entry(font);
    auto found = measured.widths.constFind(text);
    if (found != measured.widths.cend())
        return *found;
    const qreal width = measured.metrics->horizontalAdvance(text) * mmPerDot;
    measured.widths.insert(text, width);
    return width;
}

qreal TextMeasure::lineHeightMm(const FontStyle &font)
{
    const fonts::VerticalMetrics named = fonts::verticalMetrics(font.family);
    if (named.ascentEm > 0)
        return (named.ascentEm + named.descentEm) * font.pointSize * 25.4 / 72;
    const QFontMetricsF &fontMetrics = *entry(font).metrics;
    return (fontMetrics.ascent() + fontMetrics.descent()) * mmPerDot;
}

} // namespace report
