#include "sheets/boardsheet.h"

#include "sheets/elements.h"
#include "sheets/resources.h"

#include <QImage>

#include <array>

namespace sheets {

using build::font;
using build::shape;
using build::text;
using report::Element;
using report::ElementKind;
using report::HAlign;

namespace {

// Band coordinates in thousandths of a millimetre. The lefts are not evenly
// spaced: the bottom row sits a quarter millimetre to the right in columns
// 0 to 8, and the last column of the lowest three rows a quarter to the left.
constexpr std::array<int, 9> rowTopUm = {6350, 23283, 40217, 57150, 74083,
                                         91017, 108215, 125148, 142082};
constexpr std::array<int, 10> upperLeftUm = {13494, 30163, 46831, 63765, 80698,
                                             97631, 114565, 131498, 148432, 165629};
constexpr std::array<int, 10> lowerLeftUm = {13494, 30163, 46831, 63765, 80698,
                                             97631, 114565, 131498, 148432, 165365};
constexpr std::array<int, 10> bottomLeftUm = {13758, 30427, 47096, 64029, 80963,
                                              97896, 114829, 131763, 148696, 165365};
constexpr int cellSizeUm = 15346;
constexpr int firstCellSizeUm = 15240;   // the cell of 1 is a little smaller than the rest

int cellLeftUm(int row, int column)
{
    if (row == 8)
        return bottomLeftUm[column];
    if (row >= 6)
        return lowerLeftUm[column];
    return upperLeftUm[column];
}

Element numberCell(int number)
{
    const int row = (number - 1) / 10;
    const int column = (number - 1) % 10;
    const int size = number == 1 ? firstCellSizeUm : cellSizeUm;
    Element cell = text(boardCellElement(number), ElementKind::Label,
                        {cellLeftUm(row, column), rowTopUm[row], size, size},
                        font("Trebuchet MS", 32, true));
    cell.autoSize = false;
    cell.borderPt = 1.0;
    // The captions the layout stores are placeholders; the board command
    // writes every number before each run.
    cell.text = (number == 10 || number > 80) ? QString::number(number) : QStringLiteral("1");
    return cell;
}

} // namespace

QString boardCellElement(int number)
{
    // Three numbers got element names out of the sequence when the board was drawn.
    switch (number) {
    case 70:
        return QStringLiteral("ppLabel94");
    case 80:
        return QStringLiteral("ppLabel95");
    case 90:
        return QStringLiteral("ppLabel96");
    default:
        return QStringLiteral("ppLabel%1").arg(number + 3);
    }
}

report::Layout boardSheetLayout()
{
    ensureResources();
    report::Layout layout;
    layout.name = QStringLiteral("ReportCartellone");
    layout.marginLeftUm = layout.marginTopUm = layout.marginRightUm = layout.marginBottomUm = 6350;
    layout.autoStop = true;
    layout.twoPass = false;

    report::Band &header = layout.header;
    header.name = QStringLiteral("ppHeaderBand2");
    header.heightUm = 19050;

    Element picture;
    picture.name = QStringLiteral("ppImage2");
    picture.kind = ElementKind::Picture;
    picture.box = {14552, 3175, 89959, 13229};
    picture.picture = QImage(QStringLiteral(":/sheets/tabellone.png"));
    picture.pictureMode = report::PictureMode::NaturalCenterClip;
    header.elements.append(picture);

    Element title = text("ppLabel3", ElementKind::Label, {116616, 3440, 58081, 13166},
                         font("Trebuchet MS", 30, true, true));
    title.text = QStringLiteral("TABELLONE");
    header.elements.append(title);

    report::Band &detail = layout.detail;
    detail.name = QStringLiteral("ppDetailBand2");
    detail.heightUm = 165365;
    detail.elements.append(shape("ppShape5", ElementKind::Rectangle,
                                 {10583, 1588, 174361, 160338}, true, 2));
    // Cells in the order of their element names: 1 to 69, 71 to 79, 81 to 89,
    // then 70, 80 and 90. They do not overlap, so only the frame coming first shows.
    for (int number = 1; number <= 89; ++number) {
        if (number != 70 && number != 80)
            detail.elements.append(numberCell(number));
    }
    for (int number : {70, 80, 90})
        detail.elements.append(numberCell(number));

    report::Band &footer = layout.footer;
    footer.name = QStringLiteral("ppFooterBand2");
    footer.heightUm = 9790;
    const report::FontStyle footerFont = font("Trebuchet MS", 10, true, true, false,
                                             QColor(51, 51, 51));
    Element printedOn = text("ppLabel73", ElementKind::Label, {115888, 2646, 20373, 4498},
                             footerFont, HAlign::Left);
    printedOn.text = QStringLiteral("Stampato il ");
    footer.elements.append(printedOn);

    Element dateTime = text("ppSystemVariable1", ElementKind::SystemValue,
                            {141817, 2381, 35454, 4498}, footerFont, HAlign::Left);
    dateTime.systemValue = report::SystemValueKind::PrintDateTime;
    footer.elements.append(dateTime);

    return layout;
}

void writeBoardNumbers(report::Layout &layout)
{
    for (int number = 1; number <= 90; ++number)
        layout.find(boardCellElement(number))->text = QString::number(number);
}

} // namespace sheets
