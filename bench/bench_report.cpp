// Times what a user waits for when printing 6000 cards, the largest count the
// program prints: the selection, the page count, the click on the print
// command until the preview shows the first page, drawing one page, and
// writing every page to a PDF; and measures the memory the preview and the
// PDF writer reach. Prints the figures next to their targets: a missed
// target is reported, never turned into a failure.
//
// Usage: bench_report [BUILD_FOLDER]; the folder holds tools/numerella-tool
// and defaults to the parent of this program's folder.

#include "app/cartelle.h"
#include "app/failurereport.h"
#include "report/failure.h"
#include "report/fonts.h"
#include "report/painter.h"
#include "report/run.h"
#include "report/ui/pageview.h"
#include "report/ui/previewwindow.h"
#include "sheets/cardsheet.h"
#include "store/cardgenerator.h"
#include "store/cardstore.h"
#include "widgets/spinedit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int cardCount = 6000;
constexpr quint64 storeSeed = 1;
constexpr int runs = 9;
constexpr int clickRuns = 7;
constexpr int pdfRuns = 5;
constexpr int memoryRuns = 3;
constexpr int screenDpi = 96;
constexpr qreal metresPerInch = 0.0254;
constexpr qreal umPerInch = 25400;
// Pages drawn alone: the first, and one from the middle of the 1200.
constexpr int drawnPages[] = {0, 600};

// Hidden arguments: the launcher of every child (see launch()), and the
// children whose memory is measured.
const char launchArgument[] = "--launch";
const QString previewChildArgument = QStringLiteral("--preview-child");
const QString startChildArgument = QStringLiteral("--start-child");
// Starts the line on which the launcher reports on its child.
const char launchedPrefix[] = "launched";

double medianMs(QList<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds.at(nanoseconds.size() / 2) / 1e6;
}

// Decimal megabytes, the stricter reading of the targets.
double megabytes(qint64 bytes)
{
    return bytes / 1e6;
}

double kibToMegabytes(long kib)
{
    return megabytes(qint64(kib) * 1024);
}

// One line of the closing table.
struct Figure
{
    QString name;
    double value = 0;
    QString unit;
    int decimals = 1;
    std::optional<double> limit;   // the target: below this
};

void printTable(const QList<Figure> &figures)
{
    std::printf("\n%-46s %12s %12s  %s\n", "figure", "value", "target", "met");
    for (const Figure &figure : figures) {
        const QString value = QStringLiteral("%1 %2").arg(figure.value, 0, 'f', figure.decimals).arg(figure.unit);
        QString target;
        const char *met = "";
        if (figure.limit) {
            target = QStringLiteral("< %1 %2").arg(*figure.limit).arg(figure.unit);
            met = figure.value < *figure.limit ? "yes" : "no";
        }
        std::printf("%-46s %12s %12s  %s\n", qPrintable(figure.name), qPrintable(value),
                    qPrintable(target), met);
    }
}

// Clicks the card print command for count cards and returns the nanoseconds
// from the click until the preview drew its first page, or -1 when the
// preview closed without drawing one. The preview is modal, so it is watched
// from inside its own event loop: a zero timer queued before the click fires
// on that loop's first turn, before any page is counted or drawn. Once the
// first page is drawn, leave runs on the next turn, out of the paint event,
// and must close the preview.
qint64 clickToFirstPage(TCartelle &window, int count, const std::function<void(report::PreviewWindow *)> &leave)
{
    window.NumeroCartelle->setValue(count);
    QElapsedTimer timer;
    qint64 firstPage = -1;
    QTimer::singleShot(0, &window, [&timer, &firstPage, &leave] {
        // The print command shows the preview and nothing else, so the modal
        // widget is the preview.
        auto *preview = qobject_cast<report::PreviewWindow *>(QApplication::activeModalWidget());
        // The preview opens on page 0, so the first page it draws is page 0.
        QObject::connect(
            preview->pageView(), &report::PageView::pageRendered, preview,
            [&timer, &firstPage, &leave, preview] {
                firstPage = timer.nsecsElapsed();
                QTimer::singleShot(0, preview, [&leave, preview] { leave(preview); });
            },
            Qt::SingleShotConnection);
    });
    timer.start();
    window.Button1Click();
    return firstPage;
}

void closePreview(report::PreviewWindow *preview)
{
    preview->reject();
}

// Pages the open preview to its last page and back to the first, then closes it.
void tourPages(report::PreviewWindow *preview)
{
    report::PageView *view = preview->pageView();
    QObject::connect(
        view, &report::PageView::pageRendered, preview,
        [preview, view] {
            QTimer::singleShot(0, preview, [preview, view] {
                view->setCurrentPage(0);
                // The first page is among the kept images and comes back
                // without being drawn again; paint it before closing so that
                // the window did show it.
                view->viewport()->repaint();
                preview->reject();
            });
        },
        Qt::SingleShotConnection);
    view->setCurrentPage(view->pageCount() - 1);
}

// The child's side of the memory figures: starts the program in folder as a
// user would and, with the preview, opens it over every card, pages to the
// last page and back, and closes it.
int runMemoryChild(const QString &folder, bool withPreview)
{
    if (!QDir::setCurrent(folder))
        return 1;
    TCartelle window;
    window.show();
    QCoreApplication::processEvents();
    if (withPreview && clickToFirstPage(window, cardCount, tourPages) < 0)
        return 1;
    return 0;
}

// Runs command, a program and its arguments, as a child, then prints the
// child's wall time and peak memory. Linux carries a process's memory
// high-water mark across exec, so a child started straight from this
// benchmark, tens of megabytes large by then, would report the benchmark's
// peak as its own. The launcher is this program started afresh, before Qt is
// set up, and so small that the peak it passes on is below any child's own.
int launch(char **command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        execv(command[0], command);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 1;
    const std::chrono::nanoseconds elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%s %lld %ld\n", launchedPrefix, static_cast<long long>(elapsed.count()), usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

struct ChildRun
{
    bool succeeded = false;   // ran and exited with status 0
    qint64 nanoseconds = 0;
    long peakKib = 0;         // the child's own peak resident memory
};

// The launcher's report on the child it ran, from its output; a run that
// did not succeed when there is none.
ChildRun launchedReport(const QString &outputPath)
{
    QFile output(outputPath);
    if (!output.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!output.atEnd()) {
        const QList<QByteArray> words = output.readLine().simplified().split(' ');
        if (words.size() == 3 && words.first() == launchedPrefix)
            return {true, words.at(1).toLongLong(), words.at(2).toLong()};
    }
    return {};
}

// Runs a program to its end through the launcher, its output and errors
// going to outputPath.
ChildRun runChild(const QString &program, const QStringList &arguments, const QString &outputPath)
{
    QList<QByteArray> encoded{QFile::encodeName(QCoreApplication::applicationFilePath()), launchArgument,
                              QFile::encodeName(program)};
    for (const QString &argument : arguments)
        encoded.append(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const QByteArray output = QFile::encodeName(outputPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t launcher = 0;
    const int spawned = posix_spawn(&launcher, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {};
    int status = 0;
    if (waitpid(launcher, &status, 0) != launcher || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return launchedReport(outputPath);
}

void printChildOutput(const QString &outputPath)
{
    QFile output(outputPath);
    if (output.open(QIODevice::ReadOnly))
        std::fprintf(stderr, "%s\n", output.readAll().constData());
}

// The highest peak of a few memory children, or -1 when one failed.
long memoryChildPeakKib(const QString &childArgument, const QString &folder)
{
    const QString outputPath = QDir(folder).filePath(QStringLiteral("child-output.txt"));
    long highest = 0;
    for (int repeat = 0; repeat < memoryRuns; ++repeat) {
        const ChildRun child = runChild(QCoreApplication::applicationFilePath(), {childArgument, folder}, outputPath);
        if (!child.succeeded) {
            std::fprintf(stderr, "the memory child %s failed:\n", qPrintable(childArgument));
            printChildOutput(outputPath);
            return -1;
        }
        highest = std::max(highest, child.peakKib);
    }
    return highest;
}

// A white page image at dpi, its resolution set as the preview sets it.
QImage pageImage(const report::Layout &layout, int dpi)
{
    QImage image(qRound(layout.paperWidthUm * dpi / umPerInch), qRound(layout.paperHeightUm * dpi / umPerInch),
                 QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = qRound(dpi / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

// Draws single pages as the preview does, the page's commands made and
// painted into a white image, one page painter for every page of the
// resolution. The painter's first page also shapes the texts, so it is
// reported apart.
void measureDrawing(const report::ReportRun &run, int dpi, QList<Figure> &figures)
{
    QImage image = pageImage(run.layout(), dpi);
    report::PagePainter pagePainter(&image);
    const auto draw = [&](int index) {
        QElapsedTimer timer;
        timer.start();
        const report::Page page = run.page(index);
        image.fill(Qt::white);
        QPainter painter(&image);
        pagePainter.paint(painter, page);
        painter.end();
        return timer.nsecsElapsed();
    };

    const double first = draw(drawnPages[0]) / 1e6;
    for (const int index : drawnPages) {
        QList<qint64> times;
        for (int repeat = 0; repeat < runs; ++repeat)
            times << draw(index);
        const QString name = QStringLiteral("draw page %1 at %2 dpi (%3x%4)")
                                 .arg(index + 1).arg(dpi).arg(image.width()).arg(image.height());
        std::printf("%s: %.1f ms, median of %d\n", qPrintable(name), medianMs(times), runs);
        figures.append({name, medianMs(times), QStringLiteral("ms"), 1, {}});
    }
    std::printf("  the painter's first page at %d dpi, shaping its texts: %.1f ms\n", dpi, first);
}

void measureClicks(const QString &folder, QList<Figure> &figures)
{
    const QString startFolder = QDir::currentPath();
    // The main window opens Data.prm in the working folder as it starts.
    QDir::setCurrent(folder);
    {
        TCartelle window;
        window.show();
        QCoreApplication::processEvents();
        for (const int count : {1, 600, cardCount}) {
            QList<qint64> times;
            for (int repeat = 0; repeat < clickRuns; ++repeat) {
                const qint64 time = clickToFirstPage(window, count, closePreview);
                if (time < 0)
                    throw Failure(QStringLiteral("the preview of %1 cards drew no page").arg(count));
                times << time;
            }
            const QString name = QStringLiteral("click to first page, %1").arg(
                count == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(count));
            std::printf("%s: %.1f ms (first click %.1f ms), median of %d\n", qPrintable(name),
                        medianMs(times), times.first() / 1e6, clickRuns);
            figures.append({name, medianMs(times), QStringLiteral("ms"), 1, 100});
        }
    }
    QDir::setCurrent(startFolder);
}

void measurePdf(const QString &tool, const QString &storePath, const QString &folder, QList<Figure> &figures)
{
    const QString pdf = QDir(folder).filePath(QStringLiteral("cards.pdf"));
    const QString outputPath = QDir(folder).filePath(QStringLiteral("tool-output.txt"));
    const QStringList arguments{QStringLiteral("cards"), QStringLiteral("--pdf"), pdf,
                                QStringLiteral("--count"), QString::number(cardCount),
                                QStringLiteral("--store"), storePath};
    QList<qint64> times;
    long peakKib = 0;
    for (int repeat = 0; repeat < pdfRuns; ++repeat) {
        const ChildRun child = runChild(tool, arguments, outputPath);
        if (!child.succeeded) {
            printChildOutput(outputPath);
            throw Failure(QStringLiteral("%1 failed").arg(tool));
        }
        times << child.nanoseconds;
        peakKib = std::max(peakKib, child.peakKib);
    }
    const qint64 size = QFileInfo(pdf).size();
    std::printf("numerella-tool cards --pdf, %d cards: %.2f s, median of %d; %.2f MB; peak memory %.1f MB, highest of %d\n",
                cardCount, medianMs(times) / 1000, pdfRuns, megabytes(size), kibToMegabytes(peakKib), pdfRuns);
    figures.append({QStringLiteral("PDF of every page, whole process"), medianMs(times) / 1000, QStringLiteral("s"), 2, 0.7});
    figures.append({QStringLiteral("PDF file size"), megabytes(size), QStringLiteral("MB"), 2, 4});
    figures.append({QStringLiteral("PDF peak memory"), kibToMegabytes(peakKib), QStringLiteral("MB"), 1, 40});
}

void measureMemory(const QString &folder, QList<Figure> &figures)
{
    const long start = memoryChildPeakKib(startChildArgument, folder);
    const long preview = memoryChildPeakKib(previewChildArgument, folder);
    if (start < 0 || preview < 0)
        throw Failure(QStringLiteral("a memory child failed"));
    std::printf("peak memory, main window started: %.1f MB; with the preview of %d cards paged to the end and back: %.1f MB; highest of %d\n",
                kibToMegabytes(start), cardCount, kibToMegabytes(preview), memoryRuns);
    figures.append({QStringLiteral("start-up peak memory"), kibToMegabytes(start), QStringLiteral("MB"), 1, {}});
    figures.append({QStringLiteral("preview peak memory, %1 cards").arg(cardCount), kibToMegabytes(preview),
                    QStringLiteral("MB"), 1, 100});
}

int runBenchmark(const QString &buildFolder)
{
    const QString tool = QDir(buildFolder).filePath(QStringLiteral("tools/numerella-tool"));
    if (!QFileInfo(tool).isExecutable()) {
        std::fprintf(stderr, "no numerella-tool in %s\n", qPrintable(buildFolder));
        return 1;
    }
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString storePath = folder.filePath(QStringLiteral("Data.prm"));
    if (!store::writeCardStore(storePath, store::generateCards(cardCount, storeSeed), false))
        return 1;

    QList<Figure> figures;

    store::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=%1;Mode=Share Deny None;").arg(storePath));
    store::QueryDataSet dataSet(&connection);
    dataSet.setCommandText(store::selectionQuery(cardCount));
    QList<qint64> select;
    for (int repeat = 0; repeat < runs; ++repeat) {
        QElapsedTimer timer;
        timer.start();
        dataSet.close();
        dataSet.open();
        select << timer.nsecsElapsed();
    }
    std::printf("select %d cards: %.1f ms, median of %d\n", cardCount, medianMs(select), runs);
    figures.append({QStringLiteral("select %1 cards").arg(cardCount), medianMs(select), QStringLiteral("ms"), 1, {}});

    store::DataSource source(&dataSet);
    store::DBPipeline pipeline(&source);
    report::Layout layout = sheets::cardSheetLayout();
    sheets::setSeriesLetter(layout, QStringLiteral("A"));
    QList<qint64> firstPass;
    std::unique_ptr<report::ReportRun> run;
    for (int repeat = 0; repeat < runs; ++repeat) {
        QElapsedTimer timer;
        timer.start();
        run = std::make_unique<report::ReportRun>(layout, &pipeline);
        run->layoutAll();
        firstPass << timer.nsecsElapsed();
    }
    std::printf("first pass over %d cards: %.2f ms for %d pages, median of %d\n", cardCount,
                medianMs(firstPass), run->pageCount(), runs);
    figures.append({QStringLiteral("first pass, %1 cards").arg(cardCount), medianMs(firstPass), QStringLiteral("ms"), 2, {}});

    for (const int dpi : {screenDpi, 2 * screenDpi})
        measureDrawing(*run, dpi, figures);

    measureClicks(folder.path(), figures);
    measurePdf(tool, storePath, folder.path(), figures);
    measureMemory(folder.path(), figures);

    printTable(figures);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::strcmp(argv[1], launchArgument) == 0)
        return launch(argv + 2);
    // The previews open for real; offscreen they do not flash on the desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Numerella"));
    report::fonts::loadApplicationFonts();
    // A message box would wait for a click that never comes.
    app::setFailureSink([](const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });

    const QStringList arguments = QCoreApplication::arguments();
    try {
        if (arguments.value(1) == previewChildArgument || arguments.value(1) == startChildArgument)
            return runMemoryChild(arguments.value(2), arguments.value(1) == previewChildArgument);
        const QString buildFolder = arguments.size() > 1
            ? QFileInfo(arguments.at(1)).absoluteFilePath()
            : QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
        return runBenchmark(buildFolder);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.message()));
        return 1;
    }
}
