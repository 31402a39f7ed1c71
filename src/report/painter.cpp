#include "report/painter.h"

#include "report/fonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace report {

namespace {

constexpr qreal mmPerInch = 25.4;
constexpr qreal pointsPerInch = 72;
constexpr qreal screenDpi = 96;

// A stroke of the given width lying wholly inside the rectangle.
QRectF strokeInside(const QRectF &rect, qreal width)
{
    const qreal half = width / 2;
    return rect.adjusted(half, half, -half, -half);
}

} // namespace

PagePainter::PagePainter(QPaintDevice *device)
    : m_device(device),
      m_dotsPerMmX(device->logicalDpiX() / mmPerInch),
      m_dotsPerMmY(device->logicalDpiY() / mmPerInch),
      m_screenPixel(device->logicalDpiX() / screenDpi),
      // Where a device unit is a thousandth of a millimetre or finer, whole
      // units keep everything the layout can say; in a PDF they also make
      // every coordinate a short integer rather than nine digits.
      m_wholeUnits(m_dotsPerMmX >= 1000 && m_dotsPerMmY >= 1000)
{
}

QRectF PagePainter::snapped(const QRectF &rect) const
{
    if (!m_wholeUnits)
        return rect;
    const QPointF topLeft(std::round(rect.left()), std::round(rect.top()));
    const QPointF bottomRight(std::round(rect.right()), std::round(rect.bottom()));
    return QRectF(topLeft, bottomRight);
}

QRectF PagePainter::toDevice(const QRectF &mm) const
{
    return QRectF(mm.x() * m_dotsPerMmX, mm.y() * m_dotsPerMmY,
                  mm.width() * m_dotsPerMmX, mm.height() * m_dotsPerMmY);
}

void PagePainter::paint(QPainter &painter, const Page &page)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // A PDF keeps the pictures as they are rather than as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    for (const Command &command : page.commands) {
        switch (command.kind) {
        case Command::Kind::Rect:
            flushTextsUnder(painter, toDevice(command.box));
            paintRect(painter, command);
            break;
        case Command::Kind::Text:
            paintText(painter, command);
            break;
        case Command::Kind::Picture:
            flushTextsUnder(painter, toDevice(command.box));
            paintPicture(painter, command);
            break;
        }
    }
    flushTexts(painter);
    painter.restore();
}

void PagePainter::paintRect(QPainter &painter, const Command &command)
{
    const QRectF rect = toDevice(command.box);
    const qreal penWidth = std::max<qreal>(1, command.penPx * m_screenPixel);
    painter.setPen(command.penPx > 0 ? QPen(Qt::black, penWidth, Qt::SolidLine, Qt::SquareCap,
                                            Qt::MiterJoin)
                                     : QPen(Qt::NoPen));
    painter.setBrush(command.filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    const QRectF inside = strokeInside(rect, command.penPx > 0 ? penWidth : 0);
    if (command.cornerPx > 0) {
        const qreal radius = command.cornerPx * m_screenPixel / 2;
        painter.drawRoundedRect(snapped(inside), radius, radius, Qt::AbsoluteSize);
    } else {
        painter.drawRect(snapped(inside));
    }
}

PagePainter::FontEntry &PagePainter::fontEntry(const FontSpec &spec)
{
    for (const auto &[known, entry] : m_fonts) {
        if (known == spec)
            return *entry;
    }
    auto entry = std::make_unique<FontEntry>();
    entry->font = QFont(fonts::font(spec), m_device);
    entry->raw = QRawFont::fromFont(entry->font);
    const QFontMetricsF metrics(entry->font, m_device);
    const fonts::VerticalMetrics named = fonts::verticalMetrics(spec.family);
    if (named.ascentEm > 0) {
        const qreal emPixels = spec.pointSize * m_device->logicalDpiY() / pointsPerInch;
        entry->height = (named.ascentEm + named.descentEm) * emPixels;
        entry->glyphShift = named.ascentEm * emPixels - metrics.ascent();
    } else {
        entry->height = metrics.ascent() + metrics.descent();
    }
    m_fonts.append({spec, entry.get()});
    m_fontStore.push_back(std::move(entry));
    return *m_fontStore.back();
}

namespace {

// Text that needs no shaping engine: Latin letters, digits and punctuation
// map one character to one glyph, so the font's own tables give the glyphs
// and their kerned advances far faster than a full text layout.
bool isSimpleText(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() > 0x24f || ch.isMark())
            return false;
    }
    return true;
}

} // namespace

QList<QGlyphRun> PagePainter::simpleRuns(FontEntry &entry, const QString &text, qreal *width)
{
    if (!isSimpleText(text) || !entry.raw.isValid())
        return {};
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    QPointF pen(0, entry.raw.ascent());
    for (const QChar ch : text) {
        auto found = entry.glyphs.find(ch.unicode());
        if (found == entry.glyphs.end()) {
            FontEntry::Glyph glyph;
            const QList<quint32> index = entry.raw.glyphIndexesForString(QString(ch));
            glyph.index = index.size() == 1 ? index.first() : 0;
            if (glyph.index != 0) {
                glyph.advance = entry.raw.advancesForGlyphIndexes(index).value(0);
            }
            found = entry.glyphs.insert(ch.unicode(), glyph);
        }
        if (found->index == 0)
            return {};   // a character the font lacks: let the layout find a fallback font
        indexes.append(found->index);
        positions.append(pen);
        pen += found->advance;
    }
    *width = pen.x();
    QGlyphRun run;
    run.setRawFont(entry.raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    run.setUnderline(entry.font.underline());
    return {run};
}

QRectF PagePainter::glyphBounds(FontEntry &entry, quint32 glyph)
{
    auto found = entry.bounds.constFind(glyph);
    if (found == entry.bounds.cend())
        found = entry.bounds.insert(glyph, entry.raw.boundingRect(glyph));
    return *found;
}

const PagePainter::Shaped &PagePainter::shape(FontEntry &entry, const QString &text)
{
    auto found = entry.shaped.constFind(text);
    if (found != entry.shaped.cend())
        return *found;

    Shaped shaped;
    shaped.runs = simpleRuns(entry, text, &shaped.width);
    if (shaped.runs.isEmpty()) {
        QTextLayout layout(text, entry.font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (line.isValid()) {
            shaped.runs = layout.glyphRuns();
            shaped.width = line.naturalTextWidth();
        }
    }
    if (m_wholeUnits) {
        for (QGlyphRun &run : shaped.runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF &position : positions)
                position = QPointF(std::round(position.x()), std::round(position.y()));
            run.setPositions(positions);
        }
    }
    for (const QGlyphRun &run : std::as_const(shaped.runs)) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const bool primary = font == entry.raw;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF bounds = primary ? glyphBounds(entry, glyphs.at(i))
                                          : font.boundingRect(glyphs.at(i));
            shaped.ink |= bounds.translated(positions.at(i));
        }
    }
    return *entry.shaped.insert(text, shaped);
}

void PagePainter::paintText(QPainter &painter, const Command &command)
{
    const QRectF rect = toDevice(command.box);
    qreal top = rect.top();

    if (command.borderPt > 0) {
        flushTextsUnder(painter, rect);
        // Border weights are in points, at least one device pixel, drawn inward.
        const qreal width = std::max<qreal>(1, command.borderPt * m_device->logicalDpiY()
                                                   / pointsPerInch);
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(snapped(strokeInside(rect, width)));
        top += width;
    }

    FontEntry &entry = fontEntry(*command.font);
    const qreal lineStep = command.lineHeightMm * m_dotsPerMmY;
    // Half a device pixel, or a twentieth of a millimetre on fine devices,
    // where a fitted box measured at one resolution meets glyphs shaped at another.
    const qreal tolerance = std::max(0.5, 0.05 * m_dotsPerMmX);

    for (qsizetype i = 0; i < command.lines.size(); ++i) {
        const QString &text = command.lines.at(i);
        if (text.isEmpty())
            continue;
        const Shaped &shaped = shape(entry, text);
        const qreal x = command.align == HAlign::Center
                            ? rect.center().x() - shaped.width / 2 : rect.left();
        const qreal y = top + i * lineStep;
        const QPointF origin = m_wholeUnits
                                   ? QPointF(std::round(x), std::round(y + entry.glyphShift))
                                   : QPointF(x, y + entry.glyphShift);

        // Clipping costs a save and a clip path on every device; most texts
        // fit their boxes, so clip only those whose glyphs reach outside.
        const QRectF ink = shaped.ink.translated(origin);
        const bool fits = x >= rect.left() - tolerance
                          && x + shaped.width <= rect.right() + tolerance
                          && ink.left() >= rect.left() - tolerance
                          && ink.right() <= rect.right() + tolerance
                          && ink.bottom() <= rect.bottom() + tolerance;
        // An underline belongs to its own run: a batch would stretch it.
        if (fits && !command.font->underline) {
            queueText(shaped, origin, command.font->color, rect.united(ink));
            continue;
        }
        flushTextsUnder(painter, rect.united(ink));
        painter.save();
        if (!fits)
            painter.setClipRect(rect, Qt::IntersectClip);
        painter.setPen(command.font->color);
        for (const QGlyphRun &run : shaped.runs)
            painter.drawGlyphRun(origin, run);
        painter.restore();
    }
}

// Texts that need no clipping wait in batches, one per face and colour, and
// go out as one glyph run each: a PDF then opens one text object for many
// texts instead of one for each. A batch is drawn before anything that
// overlaps one of its texts, so what shows is what drawing in layout order shows.
void PagePainter::queueText(const Shaped &shaped, const QPointF &origin, const QColor &color,
                            const QRectF &area)
{
    for (const QGlyphRun &run : shaped.runs) {
        TextBatch *batch = nullptr;
        for (TextBatch &pending : m_batches) {
            if (pending.font == run.rawFont() && pending.color == color
                && pending.underline == run.underline()) {
                batch = &pending;
                break;
            }
        }
        if (!batch) {
            m_batches.append(TextBatch{run.rawFont(), color, run.underline(), {}, {}});
            batch = &m_batches.last();
        }
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        batch->glyphs.append(glyphs);
        for (const QPointF &position : positions)
            batch->positions.append(position + origin);
    }
    m_batchAreas.append(area);
}

void PagePainter::flushTextsUnder(QPainter &painter, const QRectF &area)
{
    for (const QRectF &pending : std::as_const(m_batchAreas)) {
        if (pending.intersects(area)) {
            flushTexts(painter);
            return;
        }
    }
}

void PagePainter::flushTexts(QPainter &painter)
{
    for (const TextBatch &batch : std::as_const(m_batches)) {
        // Glyphs take only the pen's colour; keeping the pen when the colour
        // agrees spares a PDF a pen change on either side of the text.
        if (painter.pen().color() != batch.color)
            painter.setPen(batch.color);
        QGlyphRun run;
        run.setRawFont(batch.font);
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        run.setUnderline(batch.underline);
        painter.drawGlyphRun(QPointF(), run);
    }
    m_batches.clear();
    m_batchAreas.clear();
}

void PagePainter::paintPicture(QPainter &painter, const Command &command)
{
    if (!command.picture || command.picture->isNull())
        return;
    const QImage &image = *command.picture;
    const QRectF rect = toDevice(command.box);

    switch (command.pictureMode) {
    case PictureMode::StretchAnd:
        painter.save();
        // Raster devices can combine by AND; on paper-like devices the picture
        // lies over white, where AND gives the picture itself.
        if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster)
            painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(rect, image);
        painter.restore();
        break;

    case PictureMode::NaturalCenterClip: {
        const QSizeF natural(image.width() * m_screenPixel, image.height() * m_screenPixel);
        const QRectF target(rect.center().x() - natural.width() / 2,
                            rect.center().y() - natural.height() / 2,
                            natural.width(), natural.height());
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawImage(target, image);
        painter.restore();
        break;
    }
    }
}

} // namespace report
