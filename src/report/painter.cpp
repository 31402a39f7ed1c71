#include "report/painter.h"

#include "report/fonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

#include <cmath>

namespace report {

namespace {

constexpr qreal mmPerInch = 25.4;
constexpr qreal pointsPerInch = 72;
constexpr qreal screenDpi = 96;
constexpr int textDpi = 2400;   // texts are shaped at least this finely
// Waiting items are found through a coarse grid over the paper, so checking
// a new item against those that wait looks only at its neighbours.
constexpr int gridColumns = 12;
constexpr int gridRows = 16;

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
      // Where a device unit is a hundredth of a millimetre or finer, far
      // below what any printer resolves, drawing on whole units changes
      // nothing on paper; in a PDF it makes every coordinate a short integer
      // rather than nine digits.
      m_wholeUnits(m_dotsPerMmX >= 100 && m_dotsPerMmY >= 100)
{
    // Qt rounds a font's size to whole pixels: 8 pt on a 96 dpi screen
    // becomes 11 px, 3% too wide for boxes measured in millimetres. Texts are
    // therefore shaped at a fine resolution and drawn scaled down to the device.
    const int deviceDpi = device->logicalDpiY();
    if (deviceDpi < textDpi) {
        m_textDevice = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(textDpi / 0.0254);
        m_textDevice.setDotsPerMeterX(dotsPerMeter);
        m_textDevice.setDotsPerMeterY(dotsPerMeter);
        m_textScale = qreal(deviceDpi) / textDpi;
    }
}

QPaintDevice *PagePainter::textDevice()
{
    return m_textDevice.isNull() ? m_device : &m_textDevice;
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
    m_gridCell = QSizeF(page.paperMm.width() * m_dotsPerMmX / gridColumns,
                        page.paperMm.height() * m_dotsPerMmY / gridRows);
    m_grid.resize(gridColumns * gridRows);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // A PDF keeps the pictures as they are rather than as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    for (const Command &command : page.commands) {
        switch (command.kind) {
        case Command::Kind::Rect:
            paintRect(painter, command);
            break;
        case Command::Kind::Text:
            paintText(painter, command);
            break;
        case Command::Kind::Picture:
            flushUnder(painter, toDevice(command.box));
            paintPicture(painter, command);
            break;
        }
    }
    flushAll(painter);
    painter.restore();
}

void PagePainter::paintRect(QPainter &painter, const Command &command)
{
    const QRectF rect = toDevice(command.box);
    const qreal penWidth = std::max<qreal>(1, command.penPx * m_screenPixel);
    const QRectF inside = snapped(strokeInside(rect, command.penPx > 0 ? penWidth : 0));
    if (command.penPx > 0 && !command.filled && command.cornerPx == 0) {
        queueOutline(painter, inside, penWidth);
        return;
    }
    flushUnder(painter, rect);
    painter.setPen(command.penPx > 0 ? outlinePen(penWidth) : QPen(Qt::NoPen));
    painter.setBrush(command.filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    if (command.cornerPx > 0) {
        const qreal radius = command.cornerPx * m_screenPixel / 2;
        painter.drawRoundedRect(inside, radius, radius, Qt::AbsoluteSize);
    } else {
        painter.drawRect(inside);
    }
}

PagePainter::FontEntry &PagePainter::fontEntry(const FontStyle &style)
{
    for (const std::unique_ptr<FontEntry> &known : m_fonts) {
        if (known->style == style)
            return *known;
    }
    auto entry = std::make_unique<FontEntry>();
    entry->style = style;
    entry->font = QFont(fonts::font(style), textDevice());
    entry->raw = QRawFont::fromFont(entry->font);
    const QFontMetricsF metrics(entry->font, textDevice());
    const fonts::VerticalMetrics named = fonts::verticalMetrics(style.family);
    if (named.ascentEm > 0) {
        const qreal emPixels = style.pointSize * m_device->logicalDpiY() / pointsPerInch;
        entry->height = (named.ascentEm + named.descentEm) * emPixels;
        entry->glyphShift = named.ascentEm * emPixels - metrics.ascent() * m_textScale;
    } else {
        entry->height = (metrics.ascent() + metrics.descent()) * m_textScale;
    }
    entry->underlineTop = (metrics.ascent() + metrics.underlinePos()) * m_textScale;
    entry->underlineWidth = std::max<qreal>(1, metrics.lineWidth() * m_textScale);
    m_fonts.push_back(std::move(entry));
    return *m_fonts.back();
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
                glyph.advance = entry.raw.advancesForGlyphIndexes(index, QRawFont::UseDesignMetrics).value(0);
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
        QTextLayout layout(text, entry.font, textDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setUseDesignMetrics(true);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (line.isValid()) {
            shaped.runs = layout.glyphRuns();
            // Underlines are drawn apart, in device pixels: Qt misplaces a
            // glyph run's own underline under a scaled painter.
            for (QGlyphRun &run : shaped.runs)
                run.setUnderline(false);
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
        // Border weights are in points, at least one device pixel, drawn inward.
        const qreal width = std::max<qreal>(1, command.borderPt * m_device->logicalDpiY()
                                                   / pointsPerInch);
        queueOutline(painter, snapped(strokeInside(rect, width)), width);
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
        const qreal width = shaped.width * m_textScale;
        const qreal x = command.align == HAlign::Center
                            ? rect.center().x() - width / 2 : rect.left();
        const qreal y = top + i * lineStep;
        const QPointF origin = m_wholeUnits
                                   ? QPointF(std::round(x), std::round(y + entry.glyphShift))
                                   : QPointF(x, y + entry.glyphShift);

        // Clipping costs a save and a clip path on every device; most texts
        // fit their boxes, so clip only those whose glyphs reach outside.
        const QRectF ink(origin + shaped.ink.topLeft() * m_textScale,
                         shaped.ink.size() * m_textScale);
        const bool fits = x >= rect.left() - tolerance
                          && x + width <= rect.right() + tolerance
                          && ink.left() >= rect.left() - tolerance
                          && ink.right() <= rect.right() + tolerance
                          && ink.bottom() <= rect.bottom() + tolerance;
        // An underlined text goes out at once, together with its line.
        if (fits && !command.font->underline) {
            queueText(painter, shaped, origin, command.font->color, rect.united(ink));
            continue;
        }
        flushUnder(painter, rect.united(ink));
        painter.save();
        if (!fits)
            painter.setClipRect(rect, Qt::IntersectClip);
        painter.setPen(command.font->color);
        if (command.font->underline) {
            const QRectF line(x, origin.y() + entry.underlineTop, width, entry.underlineWidth);
            painter.fillRect(snapped(line), command.font->color);
        }
        painter.translate(origin);
        painter.scale(m_textScale, m_textScale);
        for (const QGlyphRun &run : shaped.runs)
            painter.drawGlyphRun(QPointF(), run);
        painter.restore();
    }
}

// Black outlines and texts that need no clipping wait in batches, outlines
// by width and texts by face and colour, and each batch goes out in one call:
// a PDF then holds one path for many boxes and one text object for many
// texts, instead of one each. Black outlines may change places among
// themselves, and outlines go out before texts; anything else is drawn only
// after every waiting item it overlaps, so what shows is what drawing in
// layout order shows.
QPen PagePainter::outlinePen(qreal width)
{
    return QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

QRect PagePainter::gridCells(const QRectF &area) const
{
    const auto column = [this](qreal x) {
        return std::clamp(int(x / m_gridCell.width()), 0, gridColumns - 1);
    };
    const auto row = [this](qreal y) {
        return std::clamp(int(y / m_gridCell.height()), 0, gridRows - 1);
    };
    return QRect(QPoint(column(area.left()), row(area.top())),
                 QPoint(column(area.right()), row(area.bottom())));
}

void PagePainter::addPendingArea(const QRectF &area, bool isText)
{
    const int index = int(m_pending.size());
    m_pending.append(Pending{area, isText});
    const QRect cells = gridCells(area);
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column)
            m_grid[row * gridColumns + column].append(index);
    }
}

bool PagePainter::overlapsPending(const QRectF &area, bool textsOnly) const
{
    if (m_pending.isEmpty())
        return false;
    const QRect cells = gridCells(area);
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column) {
            for (int index : m_grid.at(row * gridColumns + column)) {
                const Pending &pending = m_pending.at(index);
                if ((pending.isText || !textsOnly) && pending.area.intersects(area))
                    return true;
            }
        }
    }
    return false;
}

void PagePainter::queueOutline(QPainter &painter, const QRectF &rect, qreal width)
{
    // An outline goes out before the waiting texts: never over one of them.
    if (overlapsPending(rect, true))
        flushAll(painter);
    for (OutlineBatch &batch : m_outlines) {
        if (batch.width == width) {
            batch.rects.append(rect);
            addPendingArea(rect, false);
            return;
        }
    }
    m_outlines.append(OutlineBatch{width, {rect}});
    addPendingArea(rect, false);
}

void PagePainter::queueText(QPainter &painter, const Shaped &shaped, const QPointF &origin,
                            const QColor &color, const QRectF &area)
{
    // Batches go out in their own order: texts that overlap keep theirs.
    if (overlapsPending(area, true))
        flushAll(painter);
    for (const QGlyphRun &run : shaped.runs) {
        TextBatch *batch = nullptr;
        for (TextBatch &pending : m_texts) {
            if (pending.font == run.rawFont() && pending.color == color) {
                batch = &pending;
                break;
            }
        }
        if (!batch) {
            m_texts.append(TextBatch{run.rawFont(), color, {}, {}});
            batch = &m_texts.last();
        }
        batch->glyphs.append(run.glyphIndexes());
        for (const QPointF &position : run.positions())
            batch->positions.append(position + origin / m_textScale);
    }
    addPendingArea(area, true);
}

void PagePainter::flushUnder(QPainter &painter, const QRectF &area)
{
    if (overlapsPending(area, false))
        flushAll(painter);
}

void PagePainter::flushAll(QPainter &painter)
{
    painter.setBrush(Qt::NoBrush);
    for (const OutlineBatch &batch : std::as_const(m_outlines)) {
        painter.setPen(outlinePen(batch.width));
        painter.drawRects(batch.rects.constData(), int(batch.rects.size()));
    }
    for (const TextBatch &batch : std::as_const(m_texts)) {
        // Glyphs take only the pen's colour; keeping the pen when the colour
        // agrees spares a PDF a pen change on either side of the text.
        if (painter.pen().color() != batch.color)
            painter.setPen(batch.color);
        QGlyphRun run;
        run.setRawFont(batch.font);
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        if (m_textScale == 1) {
            painter.drawGlyphRun(QPointF(), run);
        } else {
            painter.save();
            painter.scale(m_textScale, m_textScale);
            painter.drawGlyphRun(QPointF(), run);
            painter.restore();
        }
    }
    m_outlines.clear();
    m_texts.clear();
    m_pending.clear();
    for (QList<int> &cell : m_grid)
        cell.clear();
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
