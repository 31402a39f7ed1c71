#include "report/ui/previewwindow.h"

#include "app/failurereport.h"
#include "report/run.h"
#include "report/ui/pageview.h"
#include "report/ui/printing.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace report {

namespace {

// The toolbar icons are drawn on a grid of this many pixels a side.
constexpr int iconSize = 24;
const QSize preferredSize(800, 900);
// Left free of the screen's available area for the window's frame.
const QSize frameAllowance(40, 60);

const QColor outlineColour(70, 70, 70);
const QColor lineColour(160, 160, 160);
const QColor accentColour(38, 96, 170);

using IconPainter = void (*)(QPainter &);

QIcon drawnIcon(IconPainter paint)
{
    QIcon icon;
    // Drawn at twice the size too, so that it stays sharp on high-density screens.
    for (const int scale : {1, 2}) {
        QPixmap pixmap(iconSize * scale, iconSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Half-pixel coordinates put one-pixel lines on whole pixels.
void paintSheet(QPainter &painter, const QRectF &sheet, bool withLines)
{
    painter.setPen(QPen(outlineColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    if (!withLines)
        return;
    painter.setPen(QPen(lineColour, 1));
    for (qreal y = sheet.top() + 3; y < sheet.bottom() - 1.5; y += 2.5)
        painter.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
}

void paintPrint(QPainter &painter)
{
    paintSheet(painter, QRectF(6.5, 2.5, 11, 8), false);
    QLinearGradient body(0, 8, 0, 18);
    body.setColorAt(0, QColor(215, 215, 222));
    body.setColorAt(1, QColor(135, 135, 148));
    painter.setPen(QPen(outlineColour, 1));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    paintSheet(painter, QRectF(6.5, 14.5, 11, 7), true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 170, 60));
    painter.drawEllipse(QPointF(18.5, 11.5), 1.2, 1.2);
}

void paintWholePage(QPainter &painter)
{
    paintSheet(painter, QRectF(7.5, 4.5, 9, 15), true);
    painter.setPen(QPen(accentColour, 1.5));
    painter.setBrush(Qt::NoBrush);
    const QRectF frame(3.5, 1.5, 17, 21);
    constexpr qreal arm = 4;
    QPainterPath corners;
    corners.moveTo(frame.left(), frame.top() + arm);
    corners.lineTo(frame.topLeft());
    corners.lineTo(frame.left() + arm, frame.top());
    corners.moveTo(frame.right() - arm, frame.top());
    corners.lineTo(frame.topRight());
    corners.lineTo(frame.right(), frame.top() + arm);
    corners.moveTo(frame.right(), frame.bottom() - arm);
    corners.lineTo(frame.bottomRight());
    corners.lineTo(frame.right() - arm, frame.bottom());
    corners.moveTo(frame.left() + arm, frame.bottom());
    corners.lineTo(frame.bottomLeft());
    corners.lineTo(frame.left(), frame.bottom() - arm);
    painter.drawPath(corners);
}

void paintPageWidth(QPainter &painter)
{
    paintSheet(painter, QRectF(6.5, 2.5, 11, 19), true);
    painter.setPen(QPen(accentColour, 2));
    painter.drawLine(QPointF(3, 12), QPointF(21, 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(accentColour);
    painter.drawPolygon(QPolygonF({QPointF(1, 12), QPointF(6, 8), QPointF(6, 16)}));
    painter.drawPolygon(QPolygonF({QPointF(23, 12), QPointF(18, 8), QPointF(18, 16)}));
}

void paintActualSize(QPainter &painter)
{
    paintSheet(painter, QRectF(4.5, 2.5, 15, 19), false);
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(accentColour);
    painter.drawText(QRectF(4.5, 2.5, 15, 19), Qt::AlignCenter, QStringLiteral("1:1"));
}

void paintTriangle(QPainter &painter, qreal tipX, qreal baseX)
{
    painter.setPen(QPen(accentColour.darker(140), 1));
    painter.setBrush(accentColour);
    painter.drawPolygon(QPolygonF({QPointF(tipX, 12), QPointF(baseX, 5.5), QPointF(baseX, 18.5)}));
}

void paintPreviousPage(QPainter &painter)
{
    paintTriangle(painter, 7.5, 16.5);
}

void paintFirstPage(QPainter &painter)
{
    paintTriangle(painter, 10, 18);
    painter.drawRect(QRectF(5.5, 5.5, 2, 13));
}

// The forward commands are the backward ones seen in a mirror.
void mirror(QPainter &painter)
{
    painter.translate(iconSize, 0);
    painter.scale(-1, 1);
}

void paintNextPage(QPainter &painter)
{
    mirror(painter);
    paintPreviousPage(painter);
}

void paintLastPage(QPainter &painter)
{
    mirror(painter);
    paintFirstPage(painter);
}

} // namespace

PreviewWindow::PreviewWindow(RunFactory makeRun, QWidget *parent)
    : QDialog(parent), m_makeRun(std::move(makeRun)), m_run(m_makeRun())
{
    setWindowTitle(QStringLiteral("Anteprima di stampa"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    auto *toolBar = new QToolBar(this);
    toolBar->setIconSize(QSize(iconSize, iconSize));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setMovable(false);
    toolBar->setFloatable(false);

    m_view = new PageView(this);

    m_print = addCommand(drawnIcon(paintPrint), QStringLiteral("Stampa"));
    m_print->setShortcut(QKeySequence::Print);
    toolBar->addAction(m_print);
    toolBar->addSeparator();

    auto *zoomGroup = new QActionGroup(this);
    const std::pair<PageView::ZoomMode, QAction *> zoomCommands[] = {
        {PageView::ZoomMode::WholePage,
         addCommand(drawnIcon(paintWholePage), QStringLiteral("Pagina intera"))},
        {PageView::ZoomMode::PageWidth,
         addCommand(drawnIcon(paintPageWidth), QStringLiteral("Larghezza della pagina"))},
        {PageView::ZoomMode::ActualSize,
         addCommand(drawnIcon(paintActualSize), QStringLiteral("100 %"))},
    };
    for (const auto &[mode, action] : zoomCommands) {
        action->setCheckable(true);
        action->setChecked(mode == m_view->zoomMode());
        zoomGroup->addAction(action);
        toolBar->addAction(action);
        connect(action, &QAction::triggered, m_view, [this, mode] { m_view->setZoomMode(mode); });
        connect(m_view, &PageView::zoomModeChanged, action,
                [action, mode](PageView::ZoomMode shown) { action->setChecked(shown == mode); });
    }
    toolBar->addSeparator();

    m_firstPage = addCommand(drawnIcon(paintFirstPage), QStringLiteral("Prima pagina"));
    m_firstPage->setShortcuts({QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)});
    m_previousPage = addCommand(drawnIcon(paintPreviousPage), QStringLiteral("Pagina precedente"));
    m_previousPage->setShortcut(QKeySequence(Qt::Key_PageUp));
    m_nextPage = addCommand(drawnIcon(paintNextPage), QStringLiteral("Prossima pagina"));
    m_nextPage->setShortcut(QKeySequence(Qt::Key_PageDown));
    m_lastPage = addCommand(drawnIcon(paintLastPage), QStringLiteral("Ultima pagina"));
    m_lastPage->setShortcuts({QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)});

    m_pageField = new QSpinBox(toolBar);
    m_pageField->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_pageField->setAlignment(Qt::AlignRight);
    // Jump when the number is complete, not at each digit typed.
    m_pageField->setKeyboardTracking(false);
    m_pageField->setRange(1, 1);
    m_pageCountLabel = new QLabel(toolBar);
    m_pageCountLabel->setContentsMargins(4, 0, 4, 0);

    toolBar->addAction(m_firstPage);
    toolBar->addAction(m_previousPage);
    toolBar->addWidget(m_pageField);
    toolBar->addWidget(m_pageCountLabel);
    toolBar->addAction(m_nextPage);
    toolBar->addAction(m_lastPage);

    auto *spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    m_closeButton = new QPushButton(QStringLiteral("Rinuncia"), toolBar);
    // In a dialog a push button is the default one unless told otherwise, and
    // Return typed in the page field would then close the preview.
    m_closeButton->setAutoDefault(false);
    m_closeButton->setDefault(false);
    toolBar->addWidget(m_closeButton);

    auto *statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(statusBar);
    statusBar->addWidget(m_statusLabel, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_view, 1);
    layout->addWidget(statusBar);

    for (QAction *action : {m_print, m_firstPage, m_previousPage, m_nextPage, m_lastPage})
        action->setEnabled(false);
    m_pageField->setEnabled(false);

    connect(m_print, &QAction::triggered, this, &PreviewWindow::print);
    connect(m_firstPage, &QAction::triggered, m_view, [this] { m_view->setCurrentPage(0); });
    connect(m_previousPage, &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
    connect(m_nextPage, &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
    connect(m_lastPage, &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->pageCount() - 1); });
    connect(m_pageField, &QSpinBox::valueChanged, m_view,
            [this](int number) { m_view->setCurrentPage(number - 1); });
    connect(m_view, &PageView::currentPageChanged, this, &PreviewWindow::showPage);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    QSize size = preferredSize;
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() - frameAllowance);
    resize(size);

    m_statusLabel->setText(QStringLiteral("Calcolo delle pagine..."));
    m_view->setFocus();

    m_layoutTimer = new QTimer(this);
    m_layoutTimer->setSingleShot(true);
    m_layoutTimer->setInterval(0);
    connect(m_layoutTimer, &QTimer::timeout, this, &PreviewWindow::layoutSlice);
    m_layoutTimer->start();
}

PreviewWindow::~PreviewWindow() = default;

bool PreviewWindow::pagesReady() const
{
    return m_view->run() != nullptr;
}

QAction *PreviewWindow::addCommand(const QIcon &icon, const QString &hint)
{
    auto *action = new QAction(icon, hint, this);
    action->setToolTip(hint);
    return action;
}

void PreviewWindow::done(int result)
{
    // Closing while the pages are being counted cancels the count.
    m_layoutTimer->stop();
    QDialog::done(result);
}

void PreviewWindow::layoutSlice()
{
    bool finished = false;
    if (!app::guarded([this, &finished] { finished = m_run->layoutSome(bandsPerSlice); })) {
        reject();
        return;
    }
    if (finished) {
        showPages();
        return;
    }
    const qint64 percent = qint64(m_run->bandsLaidOut()) * 100 / m_run->bandCount();
    m_statusLabel->setText(QStringLiteral("Calcolo delle pagine... %1 %").arg(percent));
    // Single shot and started again only here, so that no slice can run while
    // a failure of the previous one is still on screen.
    m_layoutTimer->start();
}

void PreviewWindow::showPages()
{
    m_pageField->setRange(1, m_run->pageCount());
    m_pageCountLabel->setText(QStringLiteral("di %1").arg(m_run->pageCount()));
    m_pageField->setEnabled(true);
    m_print->setEnabled(true);
    m_closeButton->setText(QStringLiteral("Chiudi"));
    m_view->setRun(m_run.get());
}

void PreviewWindow::showPage(int index)
{
    const int count = m_view->pageCount();
    m_firstPage->setEnabled(index > 0);
    m_previousPage->setEnabled(index > 0);
    m_nextPage->setEnabled(index + 1 < count);
    m_lastPage->setEnabled(index + 1 < count);
    m_pageField->setValue(index + 1);
    m_statusLabel->setText(QStringLiteral("Pagina %1 di %2").arg(index + 1).arg(count));
}

void PreviewWindow::print()
{
    app::guarded([this] { printRun(this, m_makeRun); });
}

void showPreview(QWidget *parent, const RunFactory &makeRun)
{
    PreviewWindow preview(makeRun, parent);
    preview.exec();
}

} // namespace report
