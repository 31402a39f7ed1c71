#include "report/fonts.h"
#include "report/painter.h"
#include "report/run.h"
#include "sheets/boardsheet.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace report;

class TestBoardSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fonts::loadApplicationFonts(); }
    void cells_data();
    void cells();
    void everyCellShowsItsNumber();
    void placeholdersBeforeTheNumbersAreWritten();
    void onePageFromOnePass();
    void twoRunsDifferOnlyInTheDateTime();
    void headerAndFooter();
    void pictureAtNaturalSizeClipped();
};

namespace {

// Band coordinates start at margin 6.350 + header 19.050 for the detail band.
constexpr qreal margin = 6.350;
constexpr qreal detailTop = 25.400;

Page boardPage(const QDateTime &printed = QDateTime::currentDateTime())
{
    Layout layout = sheets::boardSheetLayout();
    sheets::writeBoardNumbers(layout);
    ReportRun run(layout, nullptr, printed, QLocale(QLocale::Italian, QLocale::Italy));
    run.layoutAll();
    return run.page(0);
}

bool near(qreal a, qreal b)
{
    return qAbs(a - b) < 0.0005;
}

} // namespace

void TestBoardSheet::cells_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QRectF>("box");   // band coordinates, mm

    QTest::newRow("1, the smaller cell") << 1 << "ppLabel4" << QRectF(13.494, 6.350, 15.240, 15.240);
    QTest::newRow("2") << 2 << "ppLabel5" << QRectF(30.163, 6.350, 15.346, 15.346);
    QTest::newRow("10") << 10 << "ppLabel13" << QRectF(165.629, 6.350, 15.346, 15.346);
    QTest::newRow("11") << 11 << "ppLabel14" << QRectF(13.494, 23.283, 15.346, 15.346);
    QTest::newRow("60") << 60 << "ppLabel63" << QRectF(165.629, 91.017, 15.346, 15.346);
    QTest::newRow("61, after the wider step") << 61 << "ppLabel64" << QRectF(13.494, 108.215, 15.346, 15.346);
    QTest::newRow("69") << 69 << "ppLabel72" << QRectF(148.432, 108.215, 15.346, 15.346);
    QTest::newRow("70, last column moved in") << 70 << "ppLabel94" << QRectF(165.365, 108.215, 15.346, 15.346);
    QTest::newRow("71") << 71 << "ppLabel74" << QRectF(13.494, 125.148, 15.346, 15.346);
    QTest::newRow("80") << 80 << "ppLabel95" << QRectF(165.365, 125.148, 15.346, 15.346);
    QTest::newRow("81, bottom row moved right") << 81 << "ppLabel84" << QRectF(13.758, 142.082, 15.346, 15.346);
    QTest::newRow("85") << 85 << "ppLabel88" << QRectF(80.963, 142.082, 15.346, 15.346);
    QTest::newRow("89") << 89 << "ppLabel92" << QRectF(148.696, 142.082, 15.346, 15.346);
    QTest::newRow("90") << 90 << "ppLabel96" << QRectF(165.365, 142.082, 15.346, 15.346);
}

void TestBoardSheet::cells()
{
    QFETCH(int, number);
    QFETCH(QString, element);
    QFETCH(QRectF, box);

    QCOMPARE(sheets::boardCellElement(number), element);
    const Page page = boardPage();
    const QList<const Command *> found = page.find(element);
    QCOMPARE(found.size(), 1);
    const Command *cell = found.first();
    QCOMPARE(cell->text(), QString::number(number));
    const QRectF expected = box.translated(margin, detailTop);
    QVERIFY(near(cell->box.left(), expected.left()));
    QVERIFY(near(cell->box.top(), expected.top()));
    QVERIFY(near(cell->box.width(), expected.width()));
    QVERIFY(near(cell->box.height(), expected.height()));
    QCOMPARE(cell->borderPt, 1.0);
    QCOMPARE(cell->align, HAlign::Center);
    QCOMPARE(cell->font->family, QStringLiteral("Trebuchet MS"));
    QCOMPARE(cell->font->pointSize, 32.0);
    QVERIFY(cell->font->bold);
}

void TestBoardSheet::everyCellShowsItsNumber()
{
    const Page page = boardPage();
    const Command *frame = page.find(QStringLiteral("ppShape5")).first();
    // Header picture and title, then the frame before every cell.
    QCOMPARE(page.commands.at(2).element, QStringLiteral("ppShape5"));
    QCOMPARE(frame->penPx, 2);
    QVERIFY(frame->filled);

    QSet<QString> names;
    for (int number = 1; number <= 90; ++number) {
        const QString name = sheets::boardCellElement(number);
        names.insert(name);
        const Command *cell = page.find(name).first();
        QCOMPARE(cell->text(), QString::number(number));
        QVERIFY(frame->box.contains(cell->box));
        // Row (N - 1) div 10, column (N - 1) mod 10: neighbours lie right and below.
        if (number % 10 != 0) {
            const Command *right = page.find(sheets::boardCellElement(number + 1)).first();
            QVERIFY(right->box.left() > cell->box.right());
        }
        if (number <= 80) {
            const Command *below = page.find(sheets::boardCellElement(number + 10)).first();
            QVERIFY(below->box.top() > cell->box.bottom());
        }
    }
    QCOMPARE(names.size(), 90);
}

void TestBoardSheet::placeholdersBeforeTheNumbersAreWritten()
{
    const Layout layout = sheets::boardSheetLayout();
    QCOMPARE(layout.find(sheets::boardCellElement(9))->text, QStringLiteral("1"));
    QCOMPARE(layout.find(sheets::boardCellElement(10))->text, QStringLiteral("10"));
    QCOMPARE(layout.find(sheets::boardCellElement(85))->text, QStringLiteral("85"));
}

void TestBoardSheet::onePageFromOnePass()
{
    const Layout layout = sheets::boardSheetLayout();
    QVERIFY(layout.autoStop);
    QVERIFY(!layout.twoPass);
    ReportRun run(layout, nullptr);
    run.layoutAll();
    QCOMPARE(run.pageCount(), 1);
}

void TestBoardSheet::twoRunsDifferOnlyInTheDateTime()
{
    const Page first = boardPage(QDateTime(QDate(2026, 12, 11), QTime(20, 0, 1)));
    const Page second = boardPage(QDateTime(QDate(2026, 12, 12), QTime(9, 15, 0)));
    QCOMPARE(first.commands.size(), second.commands.size());
    for (qsizetype i = 0; i < first.commands.size(); ++i) {
        const Command &a = first.commands.at(i);
        const Command &b = second.commands.at(i);
        QCOMPARE(a.element, b.element);
        if (a.element == QLatin1String("ppSystemVariable1")) {
            QCOMPARE(a.text(), QStringLiteral("11/12/26 20:00:01"));
            QCOMPARE(b.text(), QStringLiteral("12/12/26 09:15:00"));
            continue;
        }
        QCOMPARE(a.text(), b.text());
        QCOMPARE(a.box, b.box);
    }
}

void TestBoardSheet::headerAndFooter()
{
    const Page page = boardPage();
    const Command *title = page.find(QStringLiteral("ppLabel3")).first();
    QCOMPARE(title->text(), QStringLiteral("TABELLONE"));
    QVERIFY(near(title->box.center().x(), margin + 116.616 + 58.081 / 2));
    QVERIFY(near(title->box.top(), margin + 3.440));
    QVERIFY(title->box.width() < 58.081);

    const Command *label = page.find(QStringLiteral("ppLabel73")).first();
    const Command *dateTime = page.find(QStringLiteral("ppSystemVariable1")).first();
    QCOMPARE(label->text(), QStringLiteral("Stampato il "));
    // The footer's bottom edge is on the bottom margin: 297 - 6.35 - 9.79.
    QVERIFY(near(label->box.top(), 280.860 + 2.646));
    QVERIFY(near(label->box.left(), margin + 115.888));
    QVERIFY(near(dateTime->box.left(), margin + 141.817));
    QVERIFY(near(label->box.top() - dateTime->box.top(), 0.265));
    QVERIFY(label->font->bold && label->font->italic);
}

void TestBoardSheet::pictureAtNaturalSizeClipped()
{
    const Page page = boardPage();
    const Command *picture = page.find(QStringLiteral("ppImage2")).first();
    QCOMPARE(picture->pictureMode, PictureMode::NaturalCenterClip);
    QCOMPARE(picture->picture->size(), QSize(341, 62));

    // At 96 dots per inch one picture pixel is one dot: the 340 x 50 box shows
    // the picture's middle, and nothing is drawn outside the box.
    QImage image(794, 1123, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::blue);
    QPainter painter(&image);
    PagePainter(&image).paint(painter, page);
    painter.end();
    const qreal dotsPerMm = 96 / 25.4;
    const QRectF box = picture->box;
    const int aboveBox = qFloor(box.top() * dotsPerMm) - 1;
    const int belowBox = qCeil(box.bottom() * dotsPerMm) + 1;
    const int middle = qRound(box.center().x() * dotsPerMm);
    QCOMPARE(image.pixel(middle, aboveBox), QColor(Qt::blue).rgb());
    QCOMPARE(image.pixel(middle, belowBox), QColor(Qt::blue).rgb());
    QVERIFY(image.pixel(middle, qRound(box.center().y() * dotsPerMm)) != QColor(Qt::blue).rgb());
}

QTEST_MAIN(TestBoardSheet)
#include "tst_boardsheet.moc"
