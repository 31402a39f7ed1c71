#include "report/fonts.h"
#include "report/painter.h"
#include "report/run.h"
#include "sheets/cardsheet.h"
#include "testpipeline.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace report;

class TestCardSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fonts::loadApplicationFonts(); }
    void elementGeometry_data();
    void elementGeometry();
    void cellsFollowTheirFields();
    void cardsOnPages_data();
    void cardsOnPages();
    void footerOnEveryPage();
    void emptySelectionGivesBlankPage();
    void seriesLetter_data();
    void seriesLetter();
    void blankCellsKeepTheirBorder();
    void advertTextsFitTheirBoxes();
    void bordersOnPaper();
    void logoIsPrinted();
};

namespace {

constexpr qreal margin = 3.810;
constexpr qreal bandHeight = 55.563;

Page firstPage(int cards, const QString &series = QStringLiteral("A"))
{
    TablePipeline pipeline = TablePipeline::cards(cards);
    Layout layout = sheets::cardSheetLayout();
    sheets::setSeriesLetter(layout, series);
    ReportRun run(layout, &pipeline);
    run.layoutAll();
    return run.page(0);
}

const Command *single(const Page &page, const char *element, int band = 0)
{
    const QList<const Command *> found = page.find(QString::fromLatin1(element));
    return band < found.size() ? found.at(band) : nullptr;
}

bool near(qreal a, qreal b)
{
    return qAbs(a - b) < 0.0005;
}

} // namespace

void TestCardSheet::elementGeometry_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QRectF>("box");   // band coordinates, mm
    QTest::addColumn<qreal>("borderPt");

    QTest::newRow("grid frame") << "ppShape1" << QRectF(3.704, 0.529, 148.167, 41.010) << 0.0;
    QTest::newRow("Campo1") << "ppDBText2" << QRectF(4.498, 1.524, 15.240, 12.446) << 1.0;
    QTest::newRow("Campo2 thinner") << "ppDBText1" << QRectF(20.638, 1.524, 15.240, 12.404) << 0.5;
    QTest::newRow("Campo14") << "ppDBText14" << QRectF(69.321, 15.081, 15.240, 12.446) << 1.0;
    QTest::newRow("Campo18") << "ppDBText18" << QRectF(134.938, 15.081, 15.240, 12.446) << 1.0;
    QTest::newRow("Campo24") << "ppDBText24" << QRectF(85.725, 28.310, 15.240, 12.404) << 1.0;
    QTest::newRow("Campo27") << "ppDBText27" << QRectF(134.938, 28.310, 15.240, 12.404) << 1.0;
    QTest::newRow("strip frame") << "ppShape2" << QRectF(3.704, 41.804, 148.167, 12.171) << 0.0;
    QTest::newRow("logo") << "ppImage1" << QRectF(5.292, 42.863, 39.688, 9.790) << 0.0;
    QTest::newRow("number box") << "ppShape4" << QRectF(124.884, 42.863, 24.871, 10.054) << 0.0;
    QTest::newRow("card number") << "ppDBText28" << QRectF(126.471, 47.890, 11.113, 3.895) << 0.0;
    QTest::newRow("business line") << "ppMemo1" << QRectF(56.621, 43.392, 54.504, 4.763) << 0.0;
}

void TestCardSheet::elementGeometry()
{
    QFETCH(QString, element);
    QFETCH(QRectF, box);
    QFETCH(qreal, borderPt);

    const Page page = firstPage(6);
    const QList<const Command *> commands = page.find(element);
    QCOMPARE(commands.size(), 5);
    for (int band = 0; band < 5; ++band) {
        const QRectF expected = box.translated(margin, margin + band * bandHeight);
        const QRectF actual = commands.at(band)->box;
        QVERIFY2(near(actual.left(), expected.left()) && near(actual.top(), expected.top())
                     && near(actual.width(), expected.width())
                     && near(actual.height(), expected.height()),
                 qPrintable(QStringLiteral("band %1").arg(band)));
        QCOMPARE(commands.at(band)->borderPt, borderPt);
    }
}

void TestCardSheet::cellsFollowTheirFields()
{
    const Page page = firstPage(6);
    // Drawing order: grid frame, cells 1 to 26, strip, logo, number box,
    // "Cartella", card number, business line, web link, cell 27, series, contact.
    QStringList order;
    for (int i = 0; i < 37; ++i)
        order.append(page.commands.at(i).element);
    QStringList expected{QStringLiteral("ppShape1")};
    for (int campo = 1; campo <= 26; ++campo)
        expected.append(sheets::cardCellElement(campo));
    expected << "ppShape2" << "ppImage1" << "ppShape4" << "ppLabel1" << "ppDBText28" << "ppMemo1"
             << "ppLabel2" << "ppDBText27" << "ppLabel93" << "ppLabel97";
    QCOMPARE(order, expected);

    for (int campo = 1; campo <= 27; ++campo) {
        const int row = (campo - 1) / 9;
        const int column = (campo - 1) % 9;
        const QList<const Command *> cells = page.find(sheets::cardCellElement(campo));
        QCOMPARE(cells.first()->text(), QStringLiteral("1.%1").arg(campo));
        QCOMPARE(cells.at(2)->text(), QStringLiteral("3.%1").arg(campo));
        // Rows run top to bottom, columns left to right.
        const qreal top = cells.first()->box.top() - margin;
        QVERIFY(near(top, QList<qreal>{1.524, 15.081, 28.310}.at(row)));
        QVERIFY(cells.first()->box.left() > margin + 4.4 + 16.1 * column - 0.1);
    }
}

void TestCardSheet::cardsOnPages_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("pages");

    QTest::newRow("1") << 1 << 1;
    QTest::newRow("5") << 5 << 1;
    QTest::newRow("6") << 6 << 2;
    QTest::newRow("11") << 11 << 3;
    QTest::newRow("6000") << 6000 << 1200;
}

void TestCardSheet::cardsOnPages()
{
    QFETCH(int, cards);
    QFETCH(int, pages);

    TablePipeline pipeline = TablePipeline::cards(cards);
    ReportRun run(sheets::cardSheetLayout(), &pipeline);
    run.layoutAll();
    QCOMPARE(run.pageCount(), pages);

    const QList<qreal> cardTops{3.810, 59.373, 114.936, 170.499, 226.062};
    for (int index : {0, pages / 2, pages - 1}) {
        const Page page = run.page(index);
        const QList<const Command *> numbers = page.find(QStringLiteral("ppDBText28"));
        const int expectedCards = index + 1 < pages ? 5 : cards - 5 * (pages - 1);
        QCOMPARE(numbers.size(), expectedCards);
        for (int slot = 0; slot < numbers.size(); ++slot) {
            QCOMPARE(numbers.at(slot)->text(), QString::number(index * 5 + slot + 1));
            const Command *frame = page.find(QStringLiteral("ppShape1")).at(slot);
            QVERIFY(near(frame->box.top() - 0.529, cardTops.at(slot)));
        }
    }
}

void TestCardSheet::footerOnEveryPage()
{
    TablePipeline pipeline = TablePipeline::cards(12);
    const QDateTime printed(QDate(2026, 12, 11), QTime(21, 30, 5));
    ReportRun run(sheets::cardSheetLayout(), &pipeline, printed,
                  QLocale(QLocale::Italian, QLocale::Italy));
    run.layoutAll();
    QCOMPARE(run.pageCount(), 3);
    for (int index = 0; index < 3; ++index) {
        const Page page = run.page(index);
        const Command *label = single(page, "ppLabel83");
        const Command *dateTime = single(page, "ppSystemVariable2");
        const Command *pageSet = single(page, "ppSystemVariable3");
        QCOMPARE(label->text(), QStringLiteral("Stampato il "));
        QCOMPARE(dateTime->text(), QStringLiteral("11/12/26 21:30:05"));
        QCOMPARE(pageSet->text(), QStringLiteral("Pagina %1 di 3").arg(index + 1));
        // Footer band from 284.459 mm; each text starts at its own left edge.
        QVERIFY(near(label->box.top(), 284.459 + 1.852));
        QVERIFY(near(label->box.left(), margin + 4.233));
        QVERIFY(near(dateTime->box.left(), margin + 25.135));
        QVERIFY(near(pageSet->box.left(), margin + 130.704));
        QCOMPARE(label->font->color, QColor(51, 51, 51));
        QVERIFY(label->font->italic);
    }
}

void TestCardSheet::emptySelectionGivesBlankPage()
{
    TablePipeline pipeline = TablePipeline::cards(0);
    ReportRun run(sheets::cardSheetLayout(), &pipeline);
    run.layoutAll();
    QCOMPARE(run.pageCount(), 1);
    const Page page = run.page(0);
    QVERIFY(page.find(QStringLiteral("ppShape1")).isEmpty());
    QCOMPARE(single(page, "ppSystemVariable3")->text(), QStringLiteral("Pagina 1 di 1"));
}

void TestCardSheet::seriesLetter_data()
{
    QTest::addColumn<QString>("series");
    QTest::newRow("letter") << QStringLiteral("A");
    QTest::newRow("several") << QStringLiteral("SERIE-B");
    QTest::newRow("empty") << QString();
}

void TestCardSheet::seriesLetter()
{
    QFETCH(QString, series);
    const Page page = firstPage(5, series);
    const QList<const Command *> letters = page.find(QStringLiteral("ppLabel93"));
    QCOMPARE(letters.size(), 5);
    for (int band = 0; band < 5; ++band) {
        QCOMPARE(letters.at(band)->text(), series);
        // Centred on 143.935 mm of the band and widening to both sides, never wrapped.
        QVERIFY(qAbs(letters.at(band)->box.center().x() - (margin + 143.935)) < 0.001);
        QCOMPARE(letters.at(band)->lines.size(), 1);
        QVERIFY(letters.at(band)->box.width() >= 0);
    }
    if (series.size() > 1)
        QVERIFY(letters.first()->box.width() > 7.959);
}

void TestCardSheet::blankCellsKeepTheirBorder()
{
    TablePipeline pipeline = TablePipeline::cards(1);
    pipeline.setValue(0, pipeline.fieldIndex(QStringLiteral("Campo5")), QString());
    ReportRun run(sheets::cardSheetLayout(), &pipeline);
    run.layoutAll();
    const Page page = run.page(0);
    const Command *cell = single(page, "ppDBText5");
    QCOMPARE(cell->text(), QString());
    QCOMPARE(cell->borderPt, 1.0);
}

void TestCardSheet::advertTextsFitTheirBoxes()
{
    const Page page = firstPage(1);
    QCOMPARE(single(page, "ppMemo1")->lines, QStringList{QString::fromUtf8(sheets::advertBusinessLine)});
    const Command *contact = single(page, "ppLabel97");
    const Command *link = single(page, "ppLabel2");
    QVERIFY(contact->box.width() <= 25.135);
    QVERIFY(link->box.width() <= 24.680);
    QVERIFY(contact->box.right() < link->box.left());
    QVERIFY(link->font->underline);
    QVERIFY(near(single(page, "ppLabel1")->box.center().x(), margin + 132.292));
}

namespace {

// Page 1 at 300 dots per inch with one card.
QImage render300()
{
    TablePipeline pipeline = TablePipeline::cards(1);
    ReportRun run(sheets::cardSheetLayout(), &pipeline);
    run.layoutAll();
    QImage image(2480, 3508, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter(&image).paint(painter, run.page(0));
    return image;
}

// Dark pixels met going down from y0 to y1 at x (in mm), counted in a run from the first.
int darkRun(const QImage &image, qreal xMm, qreal fromMm, qreal toMm)
{
    const qreal dotsPerMm = 300 / 25.4;
    const int x = qRound(xMm * dotsPerMm);
    int run = 0;
    bool started = false;
    for (int y = qRound(fromMm * dotsPerMm); y < qRound(toMm * dotsPerMm); ++y) {
        const bool dark = qGray(image.pixel(x, y)) < 128;
        if (dark) {
            started = true;
            ++run;
        } else if (started) {
            break;
        }
    }
    return run;
}

} // namespace

void TestCardSheet::bordersOnPaper()
{
    const QImage image = render300();
    // The top border of a cell lies inside its box: scan from 0.5 mm above the
    // top edge, left of any digit. 1 pt is 4.2 dots at 300 dpi, 0.5 pt 2.1.
    const qreal top = margin + 1.524;
    const int campo1 = darkRun(image, margin + 4.498 + 1.0, top - 0.5, top + 2);
    const int campo2 = darkRun(image, margin + 20.638 + 1.0, top - 0.5, top + 2);
    const int campo3 = darkRun(image, margin + 36.777 + 1.0, top - 0.5, top + 2);
    QVERIFY2(campo1 >= 4 && campo1 <= 5, qPrintable(QString::number(campo1)));
    QVERIFY2(campo3 >= 4 && campo3 <= 5, qPrintable(QString::number(campo3)));
    QVERIFY2(campo2 >= 2 && campo2 <= 3, qPrintable(QString::number(campo2)));
    const qreal dotsPerMm = 300 / 25.4;
    QCOMPARE(qGray(image.pixel(qRound((margin + 6) * dotsPerMm), qRound(top * dotsPerMm) - 2)), 255);
    // The grid frame is a 1/96-inch outline (3 dots) inside its box.
    QCOMPARE(darkRun(image, margin + 80, margin + 0.3, margin + 1.2), 3);
}

void TestCardSheet::logoIsPrinted()
{
    const QImage image = render300();
    const qreal dotsPerMm = 300 / 25.4;
    const QRect logo(qRound((margin + 5.292) * dotsPerMm), qRound((margin + 42.863) * dotsPerMm),
                     qRound(39.688 * dotsPerMm), qRound(9.790 * dotsPerMm));
    int dark = 0;
    for (int y = logo.top(); y <= logo.bottom(); y += 3) {
        for (int x = logo.left(); x <= logo.right(); x += 3)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    QVERIFY2(dark > 50, "the logo left its box white");
}

QTEST_MAIN(TestCardSheet)
#include "tst_cardsheet.moc"
