#pragma once

#include "report/layout.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <memory>

// A produced page: drawing commands in millimetres from the paper's top-left
// corner, in drawing order. Pages say what to draw, not how a device draws it.
namespace report {

struct Command
{
    enum class Kind { Rect, Text, Picture };

    Kind kind = Kind::Rect;
    QString element;        // the layout element this command comes from
    QRectF box;             // mm on the paper

    // Rect: outline in 1/96-inch pixels inside the box, optional white fill,
    // corner ellipse size in whole 1/96-inch pixels (0 for square corners).
    int penPx = 0;
    bool filled = false;
    int cornerPx = 0;

    // Text: one or more lines from the top of the box (below a top border),
    // clipped to the box. lineHeightMm separates the lines of a text block.
    QStringList lines;
    const FontStyle *font = nullptr;   // owned by the page set; stable while it lives
    HAlign align = HAlign::Left;
    qreal borderPt = 0;
    qreal lineHeightMm = 0;

    // Picture.
    const QImage *picture = nullptr;  // owned by the page set's layout copy
    PictureMode pictureMode = PictureMode::StretchAnd;

    QString text() const { return lines.join(QLatin1Char('\n')); }
};

struct Page
{
    int number = 0;         // from 1
    QSizeF paperMm;
    QList<Command> commands;
    std::shared_ptr<const Layout> layout;   // keeps the fonts and pictures the commands point to

    // The commands of one element, in drawing order (a detail element appears once per band).
    QList<const Command *> find(const QString &elementName) const;
};

} // namespace report
