#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

// A banded report layout held as plain data. All geometry is in thousandths
// of a millimetre (um below), measured from the top-left corner of the band
// that holds the element; every band starts at the left page margin.
namespace report {

struct BoxUm
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class ElementKind {
    Rectangle,     // outline in 1/96-inch pixels, lying inside the box
    RoundRect,     // same, corners drawn with an ellipse of a quarter of the shorter side
    DataText,      // one pipeline field, fixed box
    Label,         // fixed or assigned text, box fitted to the text
    TextBlock,     // fixed text broken at the box width character by character
    Picture,       // raster picture
    SystemValue,   // text the run computes
};

enum class HAlign { Left, Center };

enum class SystemValueKind { PrintDateTime, PageSetDescription };

enum class PictureMode {
    StretchAnd,          // fills the box, combined with a logical AND over what lies beneath
    NaturalCenterClip,   // 96 pixels per inch, centred in the box, clipped to it
};

struct FontStyle
{
    QString family;          // the family the sheet names; see fonts.h for substitutes
    qreal pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    bool operator==(const FontStyle &) const = default;
};

struct Element
{
    QString name;
    ElementKind kind = ElementKind::Label;
    BoxUm box;

    // Shapes.
    int penPx = 1;            // outline width in 1/96-inch pixels
    bool filled = true;       // solid white fill; false leaves the inside clear

    // Texts.
    FontStyle font;
    HAlign align = HAlign::Left;
    qreal borderPt = 0;       // border on all four sides, in points; 0 for none
    QString text;             // Label, TextBlock
    bool autoSize = true;     // Label and SystemValue: the box takes the size of the text
    QString field;            // DataText
    SystemValueKind systemValue = SystemValueKind::PrintDateTime;

    // Pictures.
    QImage picture;
    PictureMode pictureMode = PictureMode::StretchAnd;
};

struct Band
{
    QString name;
    int heightUm = 0;
    QList<Element> elements;   // in drawing order, later over earlier

    Element *find(const QString &elementName);
    const Element *find(const QString &elementName) const;
};

struct Layout
{
    QString name;
    QString documentName = QStringLiteral("Report");
    int paperWidthUm = 210000;
    int paperHeightUm = 297000;
    int marginLeftUm = 0;
    int marginTopUm = 0;
    int marginRightUm = 0;
    int marginBottomUm = 0;
    bool autoStop = false;     // without data: stop after one detail band
    bool twoPass = false;      // lay out everything once first, so the page count is known

    Band header;
    Band detail;
    Band footer;

    // The element of that name in any band, or nullptr.
    Element *find(const QString &elementName);
    const Element *find(const QString &elementName) const;
};

} // namespace report
