#pragma once

#include "report/page.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPen>
#include <QList>
#include <QRawFont>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace report {

// Draws produced pages on any paint device: a preview image, a printer, a
// PDF writer. Keep one instance for all the pages of one device: it shapes
// each repeated text once and reuses the glyphs on every later page.
class PagePainter
{
public:
    explicit PagePainter(QPaintDevice *device);

    // Paints the page with the paper's top-left corner at the painter's
    // origin, in the device's own pixels (no scaling on the painter).
    void paint(QPainter &painter, const Page &page);

private:
    struct Shaped
    {
        QList<QGlyphRun> runs;
        qreal width = 0;
        QRectF ink;   // the glyphs' outlines, from the line's top-left corner
    };
    struct FontEntry
    {
        FontStyle style;
        QFont font;
        QRawFont raw;            // the primary face, for texts that need no layout
        // Qt does not cache glyph metrics at print resolutions, so keep our own.
        struct Glyph
        {
            quint32 index = 0;
            QPointF advance;
        };
        QHash<char16_t, Glyph> glyphs;
        QHash<quint32, QRectF> bounds;
        qreal height = 0;        // ascent plus descent of the named family
        qreal glyphShift = 0;    // moves the substitute's baseline onto the named family's
        qreal underlineTop = 0;  // below the glyphs' origin, device pixels
        qreal underlineWidth = 1;
        QHash<QString, Shaped> shaped;
    };

    FontEntry &fontEntry(const FontStyle &style);
    const Shaped &shape(FontEntry &entry, const QString &text);
    static QList<QGlyphRun> simpleRuns(FontEntry &entry, const QString &text, qreal *width);
    static QRectF glyphBounds(FontEntry &entry, quint32 glyph);
    void paintRect(QPainter &painter, const Command &command);
    void paintText(QPainter &painter, const Command &command);
    void paintPicture(QPainter &painter, const Command &command);
    static QPen outlinePen(qreal width);
    void queueOutline(QPainter &painter, const QRectF &rect, qreal width);
    void queueText(QPainter &painter, const Shaped &shaped, const QPointF &origin,
                   const QColor &color, const QRectF &area);
    QRect gridCells(const QRectF &area) const;
    void addPendingArea(const QRectF &area, bool isText);
    bool overlapsPending(const QRectF &area, bool textsOnly) const;
    void flushUnder(QPainter &painter, const QRectF &area);
    void flushAll(QPainter &painter);
    QRectF toDevice(const QRectF &mm) const;
    QRectF snapped(const QRectF &rect) const;

    QPaintDevice *textDevice();

    QPaintDevice *m_device;
    QImage m_textDevice;              // where texts are shaped, when finer than the device
    qreal m_textScale = 1;            // device pixels per text pixel
    qreal m_dotsPerMmX = 0;
    qreal m_dotsPerMmY = 0;
    qreal m_screenPixel = 0;          // one 1/96-inch pixel in device pixels
    bool m_wholeUnits = false;        // draw on whole device units
    std::vector<std::unique_ptr<FontEntry>> m_fonts;

    struct OutlineBatch
    {
        qreal width = 0;
        QList<QRectF> rects;
    };
    struct TextBatch
    {
        QRawFont font;
        QColor color;
        QList<quint32> glyphs;
        QList<QPointF> positions;   // device pixels on the page
    };
    QList<OutlineBatch> m_outlines;
    QList<TextBatch> m_texts;
    struct Pending
    {
        QRectF area;                // device pixels
        bool isText = false;
    };
    QList<Pending> m_pending;
    QList<QList<int>> m_grid;       // indexes into m_pending, by grid cell
    QSizeF m_gridCell;
};

} // namespace report
