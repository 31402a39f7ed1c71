#include "app/failurereport.h"
#include "report/failure.h"
#include "report/fonts.h"
#include "report/pipeline.h"
#include "report/run.h"
#include "report/ui/pageview.h"
#include "report/ui/previewwindow.h"
#include "report/ui/printing.h"
#include "sheets/cardsheet.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using report::PageView;
using report::PreviewWindow;
using ZoomMode = report::PageView::ZoomMode;

namespace {

constexpr int cardsPerPage = 5;

// Card rows numbered from 1. Each row of a card leaves four of its nine cells
// empty, as a real card does.
class CardRows : public report::DataPipeline
{
public:
    explicit CardRows(int rows) : m_rows(rows) {}

    int rowCount() const override { return m_rows; }

    int fieldIndex(const QString &name) const override
    {
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            return 0;
        if (!name.startsWith(QLatin1String("Campo"), Qt::CaseInsensitive))
            return -1;
        bool isNumber = false;
        const int campo = name.mid(5).toInt(&isNumber);
        return isNumber && campo >= 1 && campo <= 27 ? campo : -1;
    }

    QString text(int row, int field) const override
    {
        if (field == 0)
            return QString::number(row + 1);
        if (field < 1 || field > 27)
            return QString();
        const int column = (field - 1) % 9;
        const int cardRow = (field - 1) / 9;
        if ((column + row + 2 * cardRow) % 9 < 4)
            return QString();
        return QString::number(column * 10 + (row + cardRow) % 9 + 1);
    }

private:
    int m_rows;
};

// Rows whose store fails from a given row on.
class FailingRows : public CardRows
{
public:
    FailingRows(int rows, int firstFailing) : CardRows(rows), m_firstFailing(firstFailing) {}

    QString text(int row, int field) const override
    {
        if (row >= m_firstFailing)
            throw Failure(QStringLiteral("Riga %1 illeggibile").arg(row + 1));
        return CardRows::text(row, field);
    }

private:
    int m_firstFailing;
};

// The card sheet over a number of rows, and the factory a preview is given.
struct CardSheet
{
    explicit CardSheet(int rows) : rows(rows), layout(sheets::cardSheetLayout())
    {
        sheets::setSeriesLetter(layout, QStringLiteral("A"));
    }

    report::RunFactory factory()
    {
        return [this] {
            ++runsMade;
            return std::make_unique<report::ReportRun>(layout, &rows);
        };
    }

    CardRows rows;
    report::Layout layout;
    int runsMade = 0;
};

QAction *command(const QWidget &window, const QString &hint)
{
    const QList<QAction *> actions = window.findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->toolTip() == hint)
            return action;
    }
    return nullptr;
}

// The toolbar button of a command, to be clicked as the user does.
QToolButton *commandButton(const QWidget &window, const QString &hint)
{
    QAction *action = command(window, hint);
    if (!action)
        return nullptr;
    const QList<QObject *> shownIn = action->associatedObjects();
    for (QObject *object : shownIn) {
        if (auto *button = qobject_cast<QToolButton *>(object))
            return button;
    }
    return nullptr;
}

// The page number of each page of a PDF file, read from its footer, in file order.
QList<int> footerPageNumbers(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    static const QRegularExpression footer(QStringLiteral("Pagina (\\d+) di (\\d+)"));
    QList<int> numbers;
    for (const QString &page : pages) {
        const QRegularExpressionMatch match = footer.match(page);
        numbers.append(match.hasMatch() ? match.captured(1).toInt() : 0);
    }
    return numbers;
}

void requirePdfText()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) reads the printed pages back");
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void commandHints_data();
    void commandHints();
    void cancelsWhileComputingThenCloses();
    void cancelStopsTheComputing();
    void showPreviewReturnsWhenClosed();
    void opensAtWholePageOnFirstPage();
    void zoomCommands_data();
    void zoomCommands();
    void zoomGeometry();
    void paging_data();
    void paging();
    void pageField();
    void rendersOnlyThePagesShown();
    void printFailureIsReported();
    void pageFailureIsReportedOnce();

    void printerTakesTheLayoutsPaper();
    void printsTheChosenPages_data();
    void printsTheChosenPages();
    void cancellingStopsPrinting();
    void printDialogOffersRangeCopiesNoFile();

private:
    // A preview of the sheet, shown, active and with its pages on show.
    void openReady(PreviewWindow &window);

    QStringList m_failures;
};

void TestPreview::initTestCase()
{
    report::fonts::loadApplicationFonts();
    app::setFailureSink([this](const QString &text) { m_failures.append(text); });
}

void TestPreview::cleanup()
{
    m_failures.clear();
}

void TestPreview::openReady(PreviewWindow &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(window.pagesReady());
}

void TestPreview::commandHints_data()
{
    QTest::addColumn<QString>("hint");
    for (const char *hint : {"Stampa", "Pagina intera", "Larghezza della pagina", "100 %",
                             "Prima pagina", "Pagina precedente", "Prossima pagina", "Ultima pagina"})
        QTest::newRow(hint) << QString::fromUtf8(hint);
}

void TestPreview::commandHints()
{
    QFETCH(QString, hint);
    CardSheet sheet(6 * cardsPerPage);
    PreviewWindow window(sheet.factory());

    QCOMPARE(window.windowTitle(), QStringLiteral("Anteprima di stampa"));
    QToolButton *button = commandButton(window, hint);
    QVERIFY(button);
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(!button->icon().isNull());
}

void TestPreview::cancelsWhileComputingThenCloses()
{
    CardSheet sheet(1200 * cardsPerPage);
    PreviewWindow window(sheet.factory());

    QCOMPARE(window.closeButton()->text(), QStringLiteral("Rinuncia"));
    QVERIFY(!command(window, QStringLiteral("Stampa"))->isEnabled());
    QVERIFY(!window.pagesReady());

    window.show();
    QTRY_COMPARE(window.closeButton()->text(), QStringLiteral("Chiudi"));
    QVERIFY(window.run().isLaidOut());
    QCOMPARE(window.run().pageCount(), 1200);
    QVERIFY(command(window, QStringLiteral("Stampa"))->isEnabled());
    QCOMPARE(window.findChild<QSpinBox *>()->maximum(), 1200);
    QStringList labels;
    for (const QLabel *label : window.findChildren<QLabel *>())
        labels.append(label->text());
    QVERIFY(labels.contains(QStringLiteral("di 1200")));

    QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestPreview::cancelStopsTheComputing()
{
    CardSheet sheet(1200 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    window.show();

    QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));

    // A slice is due on every turn of the event loop while the count goes on.
    for (int turn = 0; turn < 50; ++turn)
        QCoreApplication::processEvents();
    QVERIFY(!window.run().isLaidOut());
    QVERIFY(window.run().bandsLaidOut() < window.run().bandCount());
    QVERIFY(!window.pagesReady());
    QCOMPARE(window.pageView()->renderCount(), 0);
}

void TestPreview::showPreviewReturnsWhenClosed()
{
    CardSheet sheet(3 * cardsPerPage);
    QString seenTitle;
    int seenPages = 0;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, &closer, [&] {
        auto *preview = qobject_cast<PreviewWindow *>(QApplication::activeModalWidget());
        if (!preview || !preview->pagesReady())
            return;
        seenTitle = preview->windowTitle();
        seenPages = preview->run().pageCount();
        preview->closeButton()->click();
    });
    closer.start();

    report::showPreview(nullptr, sheet.factory());

    QCOMPARE(seenTitle, QStringLiteral("Anteprima di stampa"));
    QCOMPARE(seenPages, 3);
    QCOMPARE(sheet.runsMade, 1);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPreview::opensAtWholePageOnFirstPage()
{
    CardSheet sheet(6 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    QSignalSpy rendered(window.pageView(), &PageView::pageRendered);
    openReady(window);

    QVERIFY(!(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)));
    const QRect available = window.screen()->availableGeometry();
    QVERIFY(window.width() <= available.width());
    QVERIFY(window.height() <= available.height());

    PageView *view = window.pageView();
    QCOMPARE(view->zoomMode(), ZoomMode::WholePage);
    QCOMPARE(view->currentPage(), 0);
    QCOMPARE(window.findChild<QSpinBox *>()->value(), 1);
    QVERIFY(view->viewport()->rect().contains(view->paperRect()));
    QCOMPARE(view->verticalScrollBar()->maximum(), 0);
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    // The paper fills the height it is given, as A4 portrait in a wider window.
    QVERIFY(view->paperRect().height()
            >= view->viewport()->height() - 2 * PageView::paperMargin - 3);

    QTRY_VERIFY(!rendered.isEmpty());
    QCOMPARE(rendered.first().first().toInt(), 0);
}

void TestPreview::zoomCommands_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<ZoomMode>("mode");
    QTest::newRow("page width") << QStringLiteral("Larghezza della pagina") << ZoomMode::PageWidth;
    QTest::newRow("actual size") << QStringLiteral("100 %") << ZoomMode::ActualSize;
    QTest::newRow("whole page") << QStringLiteral("Pagina intera") << ZoomMode::WholePage;
}

void TestPreview::zoomCommands()
{
    QFETCH(QString, hint);
    QFETCH(ZoomMode, mode);
    CardSheet sheet(2 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    openReady(window);

    QTest::mouseClick(commandButton(window, QStringLiteral("100 %")), Qt::LeftButton);
    QTest::mouseClick(commandButton(window, QStringLiteral("Larghezza della pagina")), Qt::LeftButton);
    QTest::mouseClick(commandButton(window, hint), Qt::LeftButton);

    QCOMPARE(window.pageView()->zoomMode(), mode);
    const QStringList zooms = {QStringLiteral("Pagina intera"), QStringLiteral("Larghezza della pagina"),
                               QStringLiteral("100 %")};
    for (const QString &zoom : zooms)
        QCOMPARE(command(window, zoom)->isChecked(), zoom == hint);
}

void TestPreview::zoomGeometry()
{
    CardSheet sheet(2 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    window.resize(700, 640);
    openReady(window);
    PageView *view = window.pageView();

    // Scroll bars come and go when the scroll area next lays itself out.
    QTest::mouseClick(commandButton(window, QStringLiteral("100 %")), Qt::LeftButton);
    QCOMPARE(view->zoom(), 1.0);
    // 210 mm at 96 dots per inch.
    QCOMPARE(view->paperRect().width(), 794);
    QTRY_VERIFY(view->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(view->verticalScrollBar()->isVisible());

    QTest::mouseClick(commandButton(window, QStringLiteral("Larghezza della pagina")), Qt::LeftButton);
    QTRY_VERIFY(!view->horizontalScrollBar()->isVisible());
    QVERIFY(view->verticalScrollBar()->isVisible());
    const int room = view->viewport()->width() - 2 * PageView::paperMargin;
    QVERIFY(view->paperRect().width() <= room);
    QVERIFY(view->paperRect().width() >= room - 3);

    QTest::mouseClick(commandButton(window, QStringLiteral("Pagina intera")), Qt::LeftButton);
    QTRY_VERIFY(!view->verticalScrollBar()->isVisible());
    QVERIFY(!view->horizontalScrollBar()->isVisible());
    QVERIFY(view->viewport()->rect().contains(view->paperRect()));
    QVERIFY(view->zoom() < 1.0);
}

void TestPreview::paging_data()
{
    // Command hints, "key:" and a key name, or "wheel:" and the wheel's angle in eighths of a degree.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("page");
    QTest::newRow("next") << QStringList{"Prossima pagina"} << 1;
    QTest::newRow("next twice") << QStringList{"Prossima pagina", "Prossima pagina"} << 2;
    QTest::newRow("last") << QStringList{"Ultima pagina"} << 5;
    QTest::newRow("next stops at the last") << QStringList{"Ultima pagina", "Prossima pagina"} << 5;
    QTest::newRow("previous stops at the first") << QStringList{"Pagina precedente"} << 0;
    QTest::newRow("previous from the last") << QStringList{"Ultima pagina", "Pagina precedente"} << 4;
    QTest::newRow("first") << QStringList{"Ultima pagina", "Prima pagina"} << 0;
    QTest::newRow("page down") << QStringList{"key:PgDown", "key:PgDown"} << 2;
    QTest::newRow("page up stops at the first") << QStringList{"key:PgUp"} << 0;
    QTest::newRow("end") << QStringList{"key:End"} << 5;
    QTest::newRow("page down stops at the last") << QStringList{"key:End", "key:PgDown"} << 5;
    QTest::newRow("home") << QStringList{"key:End", "key:Home"} << 0;
    QTest::newRow("page up") << QStringList{"key:End", "key:PgUp"} << 4;
    QTest::newRow("arrows") << QStringList{"key:Right", "key:Down", "key:Down", "key:Left"} << 2;
    QTest::newRow("wheel towards the user") << QStringList{"wheel:-120", "wheel:-120"} << 2;
    QTest::newRow("wheel back") << QStringList{"key:End", "wheel:120"} << 4;
    QTest::newRow("wheel in small steps") << QStringList{"wheel:-60", "wheel:-60", "wheel:-60"} << 1;
}

void TestPreview::paging()
{
    QFETCH(QStringList, steps);
    QFETCH(int, page);
    CardSheet sheet(6 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    openReady(window);

    for (const QString &step : steps) {
        if (step.startsWith(QLatin1String("key:"))) {
            const QKeySequence key = QKeySequence::fromString(step.mid(4));
            QCOMPARE(key.count(), 1);
            QTest::keyClick(window.pageView(), key[0].key());
        } else if (step.startsWith(QLatin1String("wheel:"))) {
            QWidget *viewport = window.pageView()->viewport();
            const QPointF centre = QRectF(viewport->rect()).center();
            QWheelEvent wheel(centre, viewport->mapToGlobal(centre), QPoint(),
                              QPoint(0, step.mid(6).toInt()), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        } else {
            QToolButton *button = commandButton(window, step);
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

    QCOMPARE(window.pageView()->currentPage(), page);
    QCOMPARE(window.findChild<QSpinBox *>()->value(), page + 1);
    QCOMPARE(command(window, QStringLiteral("Prima pagina"))->isEnabled(), page > 0);
    QCOMPARE(command(window, QStringLiteral("Pagina precedente"))->isEnabled(), page > 0);
    QCOMPARE(command(window, QStringLiteral("Prossima pagina"))->isEnabled(), page < 5);
    QCOMPARE(command(window, QStringLiteral("Ultima pagina"))->isEnabled(), page < 5);
}

void TestPreview::pageField()
{
    CardSheet sheet(6 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    openReady(window);
    auto *field = window.findChild<QSpinBox *>();
    QCOMPARE(field->minimum(), 1);
    QCOMPARE(field->maximum(), 6);

    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("4"));
    QCOMPARE(window.pageView()->currentPage(), 0);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(window.pageView()->currentPage(), 3);
    // Return in the field must not reach the dialog's buttons.
    QVERIFY(window.isVisible());
}

void TestPreview::rendersOnlyThePagesShown()
{
    CardSheet sheet(1200 * cardsPerPage);
    PreviewWindow window(sheet.factory());
    QSignalSpy rendered(window.pageView(), &PageView::pageRendered);
    openReady(window);
    QCOMPARE(window.run().pageCount(), 1200);

    QTRY_VERIFY(!rendered.isEmpty());
    QTest::mouseClick(commandButton(window, QStringLiteral("Ultima pagina")), Qt::LeftButton);
    QCOMPARE(window.pageView()->currentPage(), 1199);
    QTRY_COMPARE(rendered.last().first().toInt(), 1199);

    QSet<int> pages;
    for (const QList<QVariant> &signal : std::as_const(rendered))
        pages.insert(signal.first().toInt());
    QCOMPARE(pages, (QSet<int>{0, 1199}));
    QVERIFY(window.pageView()->renderCount() <= 4);

    // Back to a page drawn before: it comes from the cache.
    const int drawn = window.pageView()->renderCount();
    QTest::mouseClick(commandButton(window, QStringLiteral("Prima pagina")), Qt::LeftButton);
    window.pageView()->viewport()->repaint();
    QCOMPARE(window.pageView()->renderCount(), drawn);
}

void TestPreview::printFailureIsReported()
{
    CardSheet sheet(2 * cardsPerPage);
    report::RunFactory failOnPrint = [&sheet, made = 0]() mutable {
        if (made++ > 0)
            throw Failure(QStringLiteral("Archivio non disponibile"));
        return sheet.factory()();
    };
    PreviewWindow window(failOnPrint);
    openReady(window);

    QTest::mouseClick(commandButton(window, QStringLiteral("Stampa")), Qt::LeftButton);

    QCOMPARE(m_failures, QStringList{QStringLiteral("Archivio non disponibile.")});
    QVERIFY(window.isVisible());
}

void TestPreview::pageFailureIsReportedOnce()
{
    FailingRows rows(3 * cardsPerPage, cardsPerPage);
    const report::Layout layout = sheets::cardSheetLayout();
    PreviewWindow window([&] { return std::make_unique<report::ReportRun>(layout, &rows); });
    openReady(window);
    QTRY_VERIFY(window.pageView()->renderCount() > 0);
    QVERIFY(m_failures.isEmpty());

    QTest::mouseClick(commandButton(window, QStringLiteral("Prossima pagina")), Qt::LeftButton);
    QTRY_COMPARE(m_failures, QStringList{QStringLiteral("Riga 6 illeggibile.")});

    // The page stays blank rather than failing at every repaint.
    for (int turn = 0; turn < 3; ++turn) {
        window.pageView()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    QCOMPARE(m_failures.size(), 1);
    QVERIFY(window.isVisible());
    QTest::mouseClick(commandButton(window, QStringLiteral("Prima pagina")), Qt::LeftButton);
    QCOMPARE(window.pageView()->currentPage(), 0);
}

void TestPreview::printerTakesTheLayoutsPaper()
{
    CardSheet sheet(1);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    report::setUpPrinter(printer, sheet.layout);

    QCOMPARE(printer.docName(), QStringLiteral("Report"));
    QVERIFY(printer.fullPage());
    const QPageLayout layout = printer.pageLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF());
    QCOMPARE(printer.pageRect(QPrinter::Millimeter), QRectF(0, 0, 210, 297));
}

void TestPreview::printsTheChosenPages_data()
{
    QTest::addColumn<QString>("ranges");   // empty for all pages
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("lastPageFirst");
    QTest::addColumn<QList<int>>("footers");
    QTest::newRow("all") << QString() << 1 << false << false << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("from 2 to 3") << QStringLiteral("2-3") << 1 << false << false << QList<int>{2, 3};
    QTest::newRow("list") << QStringLiteral("1,4-5") << 1 << false << false << QList<int>{1, 4, 5};
    QTest::newRow("past the end") << QStringLiteral("5-9") << 1 << false << false << QList<int>{5, 6};
    QTest::newRow("collated copies") << QStringLiteral("2-3") << 2 << true << false
                                     << QList<int>{2, 3, 2, 3};
    QTest::newRow("uncollated copies") << QStringLiteral("2-3") << 2 << false << false
                                       << QList<int>{2, 2, 3, 3};
    QTest::newRow("last page first") << QStringLiteral("2-4") << 1 << false << true
                                     << QList<int>{4, 3, 2};
}

void TestPreview::printsTheChosenPages()
{
    QFETCH(QString, ranges);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, lastPageFirst);
    QFETCH(QList<int>, footers);
    requirePdfText();

    CardSheet sheet(6 * cardsPerPage);
    const std::unique_ptr<report::ReportRun> run = sheet.factory()();
    run->layoutAll();
    QCOMPARE(run->pageCount(), 6);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    report::setUpPrinter(printer, sheet.layout);
    if (!ranges.isEmpty()) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(ranges));
    }
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    printer.setPageOrder(lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
    // A PDF file makes no copies of its own: these come from the painting.
    QVERIFY(!printer.supportsMultipleCopies());

    QList<int> progress;
    QVERIFY(report::sendToPrinter(*run, printer, [&progress](int done, int total) {
        progress.append(done);
        return total > 0;
    }));

    QCOMPARE(footerPageNumbers(path), footers);
    QCOMPARE(progress.size(), footers.size());
}

void TestPreview::cancellingStopsPrinting()
{
    CardSheet sheet(6 * cardsPerPage);
    const std::unique_ptr<report::ReportRun> run = sheet.factory()();
    run->layoutAll();

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("cancelled.pdf")));
    report::setUpPrinter(printer, sheet.layout);

    QList<std::pair<int, int>> calls;
    const bool finished = report::sendToPrinter(*run, printer, [&calls](int done, int total) {
        calls.append({done, total});
        return done < 2;
    });

    QVERIFY(!finished);
    QCOMPARE(calls, (QList<std::pair<int, int>>{{1, 6}, {2, 6}}));
}

void TestPreview::printDialogOffersRangeCopiesNoFile()
{
    CardSheet sheet(4 * cardsPerPage);
    QAbstractPrintDialog::PrintDialogOptions options;
    std::pair<int, int> pageBounds;
    QString documentName;
    bool fullPage = false;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, &closer, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        options = dialog->options();
        pageBounds = {dialog->minPage(), dialog->maxPage()};
        documentName = dialog->printer()->docName();
        fullPage = dialog->printer()->fullPage();
        dialog->reject();
    });
    closer.start();

    report::printRun(nullptr, sheet.factory());

    QCOMPARE(sheet.runsMade, 1);
    QVERIFY(options.testFlag(QAbstractPrintDialog::PrintPageRange));
    QVERIFY(options.testFlag(QAbstractPrintDialog::PrintCollateCopies));
    QVERIFY(!options.testFlag(QAbstractPrintDialog::PrintToFile));
    QVERIFY(!options.testFlag(QAbstractPrintDialog::PrintSelection));
    QVERIFY(!options.testFlag(QAbstractPrintDialog::PrintCurrentPage));
    QCOMPARE(pageBounds, std::make_pair(1, 4));
    QCOMPARE(documentName, QStringLiteral("Report"));
    QVERIFY(fullPage);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
