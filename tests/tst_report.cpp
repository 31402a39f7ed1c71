#include "report/fonts.h"
#include "report/run.h"
#include "report/textmeasure.h"
#include "testpipeline.h"

#include <QtTest>

using namespace report;

// The engine on small layouts of its own, independent of the two sheets.
class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fonts::loadApplicationFonts(); }
    void pageFilling_data();
    void pageFilling();
    void bandEndingOnTheLimitFits();
    void runWithoutDataPrintsOneBand();
    void emptyPipelineGivesOneBlankPage();
    void pagesAreMadeOnDemand();
    void layoutInSlices();
    void runKeepsItsOwnLayout();
    void fittedLabels_data();
    void fittedLabels();
    void textBlockBreaksCharacterByCharacter();
    void roundRectCorner();
    void dateTimeText_data();
    void dateTimeText();
    void pageSetDescription();
};

namespace {

// Paper 100 x 100 mm, margins 10, header 5, footer 10: bands start at 15 and
// the lower limit is 80, so three 20 mm bands fit (15, 35, 55).
Layout smallLayout(int detailHeightUm = 20000)
{
    Layout layout;
    layout.paperWidthUm = layout.paperHeightUm = 100000;
    layout.marginLeftUm = layout.marginTopUm = layout.marginRightUm = layout.marginBottomUm = 10000;
    layout.twoPass = true;
    layout.header.heightUm = 5000;
    layout.footer.heightUm = 10000;
    layout.detail.heightUm = detailHeightUm;

    Element field;
    field.name = QStringLiteral("value");
    field.kind = ElementKind::DataText;
    field.field = QStringLiteral("v");
    field.box = {1000, 2000, 30000, 5000};
    field.font = FontStyle{QStringLiteral("Tahoma"), 8};
    layout.detail.elements.append(field);

    Element pageText;
    pageText.name = QStringLiteral("pages");
    pageText.kind = ElementKind::SystemValue;
    pageText.systemValue = SystemValueKind::PageSetDescription;
    pageText.box = {0, 1000, 20000, 4000};
    pageText.font = FontStyle{QStringLiteral("Tahoma"), 8};
    layout.footer.elements.append(pageText);
    return layout;
}

TablePipeline rows(int count)
{
    QList<QStringList> data;
    for (int i = 1; i <= count; ++i)
        data.append({QString::number(i)});
    return TablePipeline({QStringLiteral("V")}, data);
}

} // namespace

void TestReport::pageFilling_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("bandsOnLastPage");

    QTest::newRow("one") << 1 << 1 << 1;
    QTest::newRow("one page full") << 3 << 1 << 3;
    QTest::newRow("one over") << 4 << 2 << 1;
    QTest::newRow("two pages full") << 6 << 2 << 3;
    QTest::newRow("many") << 301 << 101 << 1;
}

void TestReport::pageFilling()
{
    QFETCH(int, rowCount);
    QFETCH(int, pages);
    QFETCH(int, bandsOnLastPage);

    TablePipeline pipeline = rows(rowCount);
    ReportRun run(smallLayout(), &pipeline);
    run.layoutAll();
    QCOMPARE(run.pageCount(), pages);

    int row = 1;
    for (int index = 0; index < run.pageCount(); ++index) {
        const Page page = run.page(index);
        const QList<const Command *> values = page.find(QStringLiteral("value"));
        QCOMPARE(values.size(), index + 1 < pages ? 3 : bandsOnLastPage);
        for (qsizetype band = 0; band < values.size(); ++band, ++row) {
            QCOMPARE(values.at(band)->text(), QString::number(row));
            // margin 10 + header 5 + band * 20, plus the element's own 2 mm
            QCOMPARE(values.at(band)->box.top(), 17.0 + 20.0 * band);
            QCOMPARE(values.at(band)->box.left(), 11.0);
        }
        const QList<const Command *> footer = page.find(QStringLiteral("pages"));
        QCOMPARE(footer.size(), 1);
        QCOMPARE(footer.first()->text(), QStringLiteral("Pagina %1 di %2").arg(index + 1).arg(pages));
        // The footer sits above the bottom margin: 100 - 10 - 10, plus 1.
        QCOMPARE(footer.first()->box.top(), 81.0);
    }
    QCOMPARE(row, rowCount + 1);
}

void TestReport::bandEndingOnTheLimitFits()
{
    // Bands of 32.5 mm from 15: the second ends exactly on the lower limit 80.
    TablePipeline pipeline = rows(3);
    ReportRun run(smallLayout(32500), &pipeline);
    run.layoutAll();
    QCOMPARE(run.pageCount(), 2);
    QCOMPARE(run.page(0).find(QStringLiteral("value")).size(), 2);
}

void TestReport::runWithoutDataPrintsOneBand()
{
    Layout layout = smallLayout();
    layout.autoStop = true;
    ReportRun run(layout, nullptr);
    run.layoutAll();
    QCOMPARE(run.pageCount(), 1);
    const Page page = run.page(0);
    const QList<const Command *> values = page.find(QStringLiteral("value"));
    QCOMPARE(values.size(), 1);
    QCOMPARE(values.first()->text(), QString());
}

void TestReport::emptyPipelineGivesOneBlankPage()
{
    TablePipeline pipeline = rows(0);
    ReportRun run(smallLayout(), &pipeline);
    run.layoutAll();
    QCOMPARE(run.pageCount(), 1);
    const Page page = run.page(0);
    QVERIFY(page.find(QStringLiteral("value")).isEmpty());
    QCOMPARE(page.find(QStringLiteral("pages")).first()->text(), QStringLiteral("Pagina 1 di 1"));
}

void TestReport::pagesAreMadeOnDemand()
{
    TablePipeline pipeline = rows(3000);
    ReportRun run(smallLayout(), &pipeline);
    run.layoutAll();
    QCOMPARE(pipeline.fetches(), 0);   // counting pages reads no value

    const Page last = run.page(run.pageCount() - 1);
    QCOMPARE(pipeline.fetches(), 3);
    QCOMPARE(last.find(QStringLiteral("value")).last()->text(), QStringLiteral("3000"));
}

void TestReport::layoutInSlices()
{
    TablePipeline pipeline = rows(10);
    ReportRun run(smallLayout(), &pipeline);
    QVERIFY(!run.layoutSome(4));
    QCOMPARE(run.bandsLaidOut(), 4);
    QVERIFY(!run.layoutSome(4));
    QVERIFY(run.layoutSome(4));
    QVERIFY(run.isLaidOut());
    QCOMPARE(run.pageCount(), 4);
}

void TestReport::runKeepsItsOwnLayout()
{
    Layout layout = smallLayout();
    Element label;
    label.name = QStringLiteral("label");
    label.kind = ElementKind::Label;
    label.text = QStringLiteral("before");
    label.font = FontStyle{QStringLiteral("Tahoma"), 8};
    layout.header.elements.append(label);

    TablePipeline pipeline = rows(1);
    ReportRun run(layout, &pipeline);
    run.layoutAll();
    layout.find(QStringLiteral("label"))->text = QStringLiteral("after");
    QCOMPARE(run.page(0).find(QStringLiteral("label")).first()->text(), QStringLiteral("before"));
}

void TestReport::fittedLabels_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("text");

    QTest::newRow("left short") << int(HAlign::Left) << QStringLiteral("A");
    QTest::newRow("left long") << int(HAlign::Left) << QStringLiteral("A much longer text than the box");
    QTest::newRow("centred short") << int(HAlign::Center) << QStringLiteral("A");
    QTest::newRow("centred long") << int(HAlign::Center) << QStringLiteral("A much longer text than the box");
    QTest::newRow("empty") << int(HAlign::Center) << QString();
}

void TestReport::fittedLabels()
{
    QFETCH(int, align);
    QFETCH(QString, text);

    Layout layout = smallLayout();
    Element label;
    label.name = QStringLiteral("label");
    label.kind = ElementKind::Label;
    label.align = HAlign(align);
    label.text = text;
    label.box = {20000, 1000, 10000, 9000};
    label.font = FontStyle{QStringLiteral("Courier New"), 18, true};
    layout.header.elements.append(label);

    ReportRun run(layout, nullptr);
    run.layoutAll();
    const QRectF box = run.page(0).find(QStringLiteral("label")).first()->box;

    TextMeasure measure;
    QCOMPARE(box.width(), measure.widthMm(label.font, text));
    QCOMPARE(box.height(), measure.lineHeightMm(label.font));
    QCOMPARE(box.top(), 11.0);
    if (label.align == HAlign::Left)
        QCOMPARE(box.left(), 30.0);
    else
        QCOMPARE(box.center().x(), 35.0);
    // Courier New has fixed advances: 18 pt is 0.6 em wide per character.
    QVERIFY(qAbs(box.width() - text.size() * 18 * 0.6 * 25.4 / 72) < 0.05);
}

void TestReport::textBlockBreaksCharacterByCharacter()
{
    Layout layout = smallLayout();
    Element block;
    block.name = QStringLiteral("block");
    block.kind = ElementKind::TextBlock;
    block.align = HAlign::Center;
    block.font = FontStyle{QStringLiteral("Courier New"), 10};
    TextMeasure measure;
    const qreal charMm = measure.widthMm(block.font, QStringLiteral("x"));
    const qreal lineMm = measure.lineHeightMm(block.font);
    // Room for seven characters a line and two and a half lines.
    block.box = {0, 0, int(7.5 * charMm * 1000), int(2.5 * lineMm * 1000)};
    block.text = QStringLiteral("tombola della parrocchia");
    layout.header.elements.append(block);

    ReportRun run(layout, nullptr);
    run.layoutAll();
    const Page page = run.page(0);
    const Command *command = page.find(QStringLiteral("block")).first();
    // Breaks fall inside words, and the half line that would not fit is dropped.
    QCOMPARE(command->lines, (QStringList{QStringLiteral("tombola"), QStringLiteral(" della ")}));
    QCOMPARE(command->lineHeightMm, lineMm);
}

void TestReport::roundRectCorner()
{
    Layout layout = smallLayout();
    Element box;
    box.name = QStringLiteral("box");
    box.kind = ElementKind::RoundRect;
    box.box = {0, 0, 24871, 10054};   // 94 x 38 screen pixels
    layout.header.elements.append(box);
    ReportRun run(layout, nullptr);
    run.layoutAll();
    QCOMPARE(run.page(0).find(QStringLiteral("box")).first()->cornerPx, 9);
}

void TestReport::dateTimeText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("expected");

    const QDate date(2026, 12, 11);
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);

    QTest::newRow("italian afternoon") << italian << QDateTime(date, QTime(14, 5, 9))
                                       << QStringLiteral("11/12/26 14:05:09");
    QTest::newRow("italian morning") << italian << QDateTime(date, QTime(7, 0, 1))
                                     << QStringLiteral("11/12/26 07:00:01");
    QTest::newRow("italian midnight") << italian << QDateTime(date, QTime(0, 0, 0, 500))
                                      << QStringLiteral("11/12/26");
    QTest::newRow("second after midnight") << italian << QDateTime(date, QTime(0, 0, 1))
                                           << QStringLiteral("11/12/26 00:00:01");
    QTest::newRow("american 12-hour") << american << QDateTime(date, QTime(14, 5, 9))
                                      << QStringLiteral("12/11/26 2:05:09\u202fPM");
    QTest::newRow("german") << german << QDateTime(date, QTime(9, 5, 9))
                            << QStringLiteral("11.12.26 09:05:09");
}

void TestReport::dateTimeText()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, expected);

    QString text = ReportRun::dateTimeText(dateTime, locale);
    // Locale data differ on the blank before the marker; the marker's place is what matters.
    text.replace(QLatin1Char(' '), QChar(0x202f));
    expected.replace(QLatin1Char(' '), QChar(0x202f));
    QCOMPARE(text, expected);
}

void TestReport::pageSetDescription()
{
    QCOMPARE(ReportRun::pageSetDescription(3, 12), QStringLiteral("Pagina 3 di 12"));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
