#pragma once

#include "report/layout.h"

// Small builders the two sheets share to write their elements down as data.
namespace sheets::build {

inline report::FontStyle font(const char *family, qreal pointSize, bool bold = false,
                             bool italic = false, bool underline = false,
                             QColor color = Qt::black)
{
    return report::FontStyle{QString::fromLatin1(family), pointSize, bold, italic, underline,
                            color};
}

// A shape with a black one-pixel outline; filled solid white unless clear.
inline report::Element shape(const char *name, report::ElementKind kind, report::BoxUm box,
                             bool filled, int penPx = 1)
{
    report::Element element;
    element.name = QString::fromLatin1(name);
    element.kind = kind;
    element.box = box;
    element.penPx = penPx;
    element.filled = filled;
    return element;
}

inline report::Element text(const QString &name, report::ElementKind kind, report::BoxUm box,
                            const report::FontStyle &font,
                            report::HAlign align = report::HAlign::Center)
{
    report::Element element;
    element.name = name;
    element.kind = kind;
    element.box = box;
    element.font = font;
    element.align = align;
    return element;
}

inline report::Element text(const char *name, report::ElementKind kind, report::BoxUm box,
                            const report::FontStyle &font,
                            report::HAlign align = report::HAlign::Center)
{
    return text(QString::fromLatin1(name), kind, box, font, align);
}

} // namespace sheets::build
