#include "report/ui/pageview.h"

#include "app/failurereport.h"
#include "report/painter.h"
#include "report/run.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace report {

namespace {

constexpr qreal mmPerInch = 25.4;
constexpr qreal metresPerInch = 0.0254;
constexpr qreal screenDpi = 96;
// Keeps a tiny window from asking for an empty image.
constexpr int minimumDpi = 8;
// Whole page, page width and actual size: one page painter each.
constexpr std::size_t keptResolutions = 3;
constexpr int scrollStep = 20;
constexpr int shadowOffset = 3;

const QColor groundColour(128, 128, 128);
const QColor shadowColour(64, 64, 64);

// QImage reports its resolution as whole dots per inch rounded from dots per
// metre, and the page painter scales millimetres by that reported value.
QImage imageAt(int dpi, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = qRound(dpi / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

} // namespace

struct PageView::Renderer
{
    explicit Renderer(int dotsPerInch)
        : dpi(dotsPerInch), device(imageAt(dotsPerInch, QSize(1, 1))), painter(&device)
    {
    }

    int dpi;
    // Stands for every page image of this resolution: the page painter shapes
    // its texts against it once and reuses them on every page.
    QImage device;
    PagePainter painter;
};

PageView::PageView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    // Every pixel of the viewport is painted on each paint event.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

PageView::~PageView() = default;

void PageView::setRun(const ReportRun *run)
{
    m_run = run;
    m_cache.clear();
    m_renderers.clear();
    m_failedPages.clear();
    m_currentPage = 0;
    if (run)
        m_paperMm = QSizeF(run->layout().paperWidthUm / 1000.0, run->layout().paperHeightUm / 1000.0);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    relayout();
    emit currentPageChanged(m_currentPage);
}

int PageView::pageCount() const
{
    return m_run ? m_run->pageCount() : 0;
}

void PageView::setCurrentPage(int index)
{
    if (!m_run)
        return;
    index = std::clamp(index, 0, pageCount() - 1);
    if (index == m_currentPage)
        return;
    m_currentPage = index;
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit currentPageChanged(index);
}

void PageView::setZoomMode(ZoomMode mode)
{
    if (mode == m_zoomMode)
        return;
    m_zoomMode = mode;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    relayout();
    emit zoomModeChanged(mode);
}

qreal PageView::zoom() const
{
    return m_logicalDpi / screenDpi;
}

QSize PageView::paperPixels(qreal dotsPerInch) const
{
    return QSize(qRound(m_paperMm.width() * dotsPerInch / mmPerInch),
                 qRound(m_paperMm.height() * dotsPerInch / mmPerInch));
}

void PageView::relayout()
{
    if (!m_run) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        viewport()->update();
        return;
    }

    const QSize area = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QSizeF paperInches = m_paperMm / mmPerInch;
    const QSizeF room(area.width() - 2 * paperMargin, area.height() - 2 * paperMargin);

    qreal dpi = screenDpi;
    switch (m_zoomMode) {
    case ZoomMode::WholePage:
        dpi = std::min(room.width() / paperInches.width(), room.height() / paperInches.height());
        break;
    case ZoomMode::PageWidth:
        dpi = room.width() / paperInches.width();
        // The paper then runs past the bottom, and the vertical scroll bar
        // that appears takes its width out of the room.
        if (paperInches.height() * dpi > room.height())
            dpi = (room.width() - bar) / paperInches.width();
        break;
    case ZoomMode::ActualSize:
        break;
    }
    m_logicalDpi = std::max(minimumDpi, int(dpi));
    m_paperSize = paperPixels(m_logicalDpi);

    // Decide both scroll bars at once: each one that shows narrows the other's room.
    const QSize content = m_paperSize + QSize(2 * paperMargin, 2 * paperMargin);
    bool across = content.width() > area.width();
    bool down = content.height() > area.height();
    if (across && !down)
        down = content.height() > area.height() - bar;
    if (down && !across)
        across = content.width() > area.width() - bar;
    const QSize view(area.width() - (down ? bar : 0), area.height() - (across ? bar : 0));

    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(scrollStep);
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(scrollStep);
    viewport()->update();
}

QRect PageView::paperRect() const
{
    const QSize view = viewport()->size();
    const QSize content = m_paperSize + QSize(2 * paperMargin, 2 * paperMargin);
    const int x = content.width() <= view.width() ? (view.width() - m_paperSize.width()) / 2
                                                  : paperMargin - horizontalScrollBar()->value();
    const int y = content.height() <= view.height() ? (view.height() - m_paperSize.height()) / 2
                                                    : paperMargin - verticalScrollBar()->value();
    return QRect(QPoint(x, y), m_paperSize);
}

PageView::Renderer &PageView::renderer(int dpi)
{
    const auto found = std::find_if(m_renderers.begin(), m_renderers.end(),
                                    [dpi](const auto &renderer) { return renderer->dpi == dpi; });
    if (found != m_renderers.end()) {
        std::rotate(m_renderers.begin(), found, found + 1);
    } else {
        m_renderers.insert(m_renderers.begin(), std::make_unique<Renderer>(dpi));
        if (m_renderers.size() > keptResolutions)
            m_renderers.pop_back();
    }
    return *m_renderers.front();
}

const QImage &PageView::renderedPage(int index, int dpi)
{
    for (qsizetype i = 0; i < m_cache.size(); ++i) {
        if (m_cache.at(i).index == index && m_cache.at(i).dpi == dpi) {
            m_cache.move(i, 0);
            return m_cache.first().image;
        }
    }

    Renderer &pageRenderer = renderer(dpi);
    const Page page = m_run->page(index);
    QImage image = imageAt(dpi, paperPixels(dpi));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        pageRenderer.painter.paint(painter, page);
    }

    m_cache.prepend(RenderedPage{index, dpi, image});
    while (m_cache.size() > cachedPages)
        m_cache.removeLast();
    ++m_renderCount;
    emit pageRendered(index);
    return m_cache.first().image;
}

void PageView::reportLater(std::exception_ptr failure)
{
    // A message box opened from inside a paint event would run its own event
    // loop in the middle of painting.
    QMetaObject::invokeMethod(
        this, [failure] { app::guarded([&failure] { std::rethrow_exception(failure); }); },
        Qt::QueuedConnection);
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), groundColour);
    if (!m_run)
        return;

    const QRect paper = paperRect();
    painter.fillRect(paper.translated(shadowOffset, shadowOffset), shadowColour);
    painter.fillRect(paper, Qt::white);
    if (m_failedPages.contains(m_currentPage))
        return;

    // Drawn at the screen's own density, so that on a high-density screen
    // the page is as sharp as the screen allows and the blit is one to one.
    const int dpi = qRound(m_logicalDpi * viewport()->devicePixelRatioF());
    try {
        painter.drawImage(QRectF(paper), renderedPage(m_currentPage, dpi));
    } catch (...) {
        m_failedPages.insert(m_currentPage);
        reportLater(std::current_exception());
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    // Along an axis where the paper fits there is nothing to scroll, so the
    // arrows of that axis turn the pages instead.
    const bool fitsAcross = horizontalScrollBar()->maximum() == 0;
    const bool fitsDown = verticalScrollBar()->maximum() == 0;
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = fitsAcross ? -1 : 0;
        break;
    case Qt::Key_Right:
        step = fitsAcross ? 1 : 0;
        break;
    case Qt::Key_Up:
        step = fitsDown ? -1 : 0;
        break;
    case Qt::Key_Down:
        step = fitsDown ? 1 : 0;
        break;
    default:
        break;
    }
    if (step != 0 && m_run) {
        setCurrentPage(m_currentPage + step);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PageView::wheelEvent(QWheelEvent *event)
{
    if (!m_run || verticalScrollBar()->maximum() > 0) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // The whole page is on show: the wheel turns pages, a notch a page.
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        setCurrentPage(m_currentPage - notches);
    event->accept();
}

} // namespace report
