#include "sheets/cardsheet.h"

#include "sheets/elements.h"
#include "sheets/resources.h"

#include <QImage>

#include <array>

namespace sheets {

using build::font;
using build::shape;
using build::text;
using report::BoxUm;
using report::Element;
using report::ElementKind;
using report::FontStyle;
using report::HAlign;

namespace {

// Geometry in thousandths of a millimetre, within the card's band.
constexpr std::array<int, 9> columnLeftUm = {4498, 20638, 36777, 52917, 69321,
                                             85725, 102129, 118534, 134938};
constexpr std::array<int, 3> rowTopUm = {1524, 15081, 28310};
constexpr int cellWidthUm = 15240;
// The cells are not all of one height: 12.446 or 12.404 mm, cell by cell.
constexpr int tall = 12446;
constexpr int low = 12404;
constexpr std::array<std::array<int, 9>, 3> cellHeightUm = {{
    {tall, low, low, tall, low, tall, tall, low, low},
    {low, tall, low, low, tall, low, low, tall, tall},
    {tall, low, tall, low, low, low, tall, tall, low},
}};

const QColor windowText = Qt::black;
const QColor darkGrey(51, 51, 51);

Element cell(int campo)
{
    const int row = (campo - 1) / 9;
    const int column = (campo - 1) % 9;
    Element element = text(cardCellElement(campo), ElementKind::DataText,
                           BoxUm{columnLeftUm[column], rowTopUm[row], cellWidthUm,
                                 cellHeightUm[row][column]},
                           font("Arial Black", 25, false, false, false, windowText));
    element.field = QStringLiteral("Campo%1").arg(campo);
    // The second cell of every card carries a thinner border than the rest.
    element.borderPt = campo == 2 ? 0.5 : 1.0;
    return element;
}

} // namespace

QString cardCellElement(int campo)
{
    // Campo1 and Campo2 swapped their element names; the others follow their field.
    if (campo == 1)
        return QStringLiteral("ppDBText2");
    if (campo == 2)
        return QStringLiteral("ppDBText1");
    return QStringLiteral("ppDBText%1").arg(campo);
}

report::Layout cardSheetLayout()
{
    ensureResources();
    report::Layout layout;
    layout.name = QStringLiteral("ReportTombola");
    layout.marginLeftUm = layout.marginTopUm = layout.marginRightUm = layout.marginBottomUm = 3810;
    layout.twoPass = true;
    layout.autoStop = false;

    layout.header.name = QStringLiteral("ppHeaderBand1");
    layout.header.heightUm = 0;

    report::Band &detail = layout.detail;
    detail.name = QStringLiteral("ppDetailBand1");
    detail.heightUm = 55563;
    QList<Element> &elements = detail.elements;

    elements.append(shape("ppShape1", ElementKind::Rectangle, {3704, 529, 148167, 41010}, false));
    for (int campo = 1; campo <= 26; ++campo)
        elements.append(cell(campo));
    elements.append(shape("ppShape2", ElementKind::Rectangle, {3704, 41804, 148167, 12171}, true));

    Element logo;
    logo.name = QStringLiteral("ppImage1");
    logo.kind = ElementKind::Picture;
    logo.box = {5292, 42863, 39688, 9790};
    logo.picture = QImage(QStringLiteral(":/sheets/logo.png"));
    logo.pictureMode = report::PictureMode::StretchAnd;
    elements.append(logo);

    elements.append(shape("ppShape4", ElementKind::RoundRect, {124884, 42863, 24871, 10054}, true));

    Element cartella = text("ppLabel1", ElementKind::Label, {127614, 43921, 9356, 3429},
                            font("Tahoma", 8, false, false, false, windowText));
    cartella.text = QStringLiteral("Cartella");
    elements.append(cartella);

    Element cardNumber = text("ppDBText28", ElementKind::DataText, {126471, 47890, 11113, 3895},
                              font("Courier New", 10, true, false, false, windowText));
    cardNumber.field = QStringLiteral("ID");
    elements.append(cardNumber);

    Element business = text("ppMemo1", ElementKind::TextBlock, {56621, 43392, 54504, 4763},
                            font("Tahoma", 10, true));
    business.text = QString::fromUtf8(advertBusinessLine);
    elements.append(business);

    Element webLink = text("ppLabel2", ElementKind::Label, {86482, 48948, 24680, 3429},
                           font("Tahoma", 8, true, false, true));
    webLink.text = QString::fromUtf8(advertWebLink);
    elements.append(webLink);

    elements.append(cell(27));

    elements.append(text("ppLabel93", ElementKind::Label, {139955, 44186, 7959, 7408},
                         font("Courier New", 18, true)));

    Element contact = text("ppLabel97", ElementKind::Label, {56621, 48948, 25135, 3440},
                           font("Tahoma", 8, true));
    contact.text = QString::fromUtf8(advertContactLine);
    elements.append(contact);

    report::Band &footer = layout.footer;
    footer.name = QStringLiteral("ppFooterBand1");
    footer.heightUm = 8731;
    const FontStyle footerFont = font("Trebuchet MS", 10, false, true, false, darkGrey);

    Element printedOn = text("ppLabel83", ElementKind::Label, {4233, 1852, 19473, 4445},
                             footerFont, HAlign::Left);
    printedOn.text = QStringLiteral("Stampato il ");
    footer.elements.append(printedOn);

    Element dateTime = text("ppSystemVariable2", ElementKind::SystemValue,
                            {25135, 1852, 33401, 4445}, footerFont, HAlign::Left);
    dateTime.systemValue = report::SystemValueKind::PrintDateTime;
    footer.elements.append(dateTime);

    Element pageSet = text("ppSystemVariable3", ElementKind::SystemValue,
                           {130704, 1852, 20373, 4498}, footerFont, HAlign::Left);
    pageSet.systemValue = report::SystemValueKind::PageSetDescription;
    footer.elements.append(pageSet);

    return layout;
}

void setSeriesLetter(report::Layout &layout, const QString &series)
{
    layout.find(QStringLiteral("ppLabel93"))->text = series;
}

QString seriesLetter(const report::Layout &layout)
{
    return layout.find(QStringLiteral("ppLabel93"))->text;
}

} // namespace sheets
