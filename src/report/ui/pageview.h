#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QSet>
#include <QSizeF>

#include <exception>
#include <memory>
#include <vector>

namespace report {

class ReportRun;

// Shows the pages of a laid-out run one at a time: white paper with a thin
// shadow on a grey ground. Only the page on show is ever drawn; it is drawn
// once into an image at the zoom's resolution and blitted from then on, and
// the last few images are kept for paging back and forth.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class ZoomMode { WholePage, PageWidth, ActualSize };
    Q_ENUM(ZoomMode)

    // Grey ground left around the paper, in pixels.
    static constexpr int paperMargin = 12;
    static constexpr int cachedPages = 4;

    explicit PageView(QWidget *parent = nullptr);
    ~PageView() override;

    // The run must be laid out, and outlive the view or be replaced first.
    void setRun(const ReportRun *run);
    const ReportRun *run() const { return m_run; }

    int pageCount() const;
    int currentPage() const { return m_currentPage; }   // from 0
    // Clamped to the run's pages.
    void setCurrentPage(int index);

    ZoomMode zoomMode() const { return m_zoomMode; }
    void setZoomMode(ZoomMode mode);
    // The paper's scale against its actual size on a 96 dpi screen.
    qreal zoom() const;

    // Where the paper lies in the viewport.
    QRect paperRect() const;

    // Pages drawn into images so far, a page drawn again at a new zoom included.
    int renderCount() const { return m_renderCount; }

signals:
    void currentPageChanged(int index);
    void zoomModeChanged(report::PageView::ZoomMode mode);
    void pageRendered(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Renderer;
    struct RenderedPage
    {
        int index = 0;
        int dpi = 0;
        QImage image;
    };

    void relayout();
    QSize paperPixels(qreal dotsPerInch) const;
    const QImage &renderedPage(int index, int dpi);
    Renderer &renderer(int dpi);
    void reportLater(std::exception_ptr failure);

    const ReportRun *m_run = nullptr;
    QSizeF m_paperMm;
    ZoomMode m_zoomMode = ZoomMode::WholePage;
    int m_currentPage = 0;
    int m_logicalDpi = 96;              // viewport pixels per inch of paper
    QSize m_paperSize;                  // in viewport pixels
    QList<RenderedPage> m_cache;        // most recently shown first
    std::vector<std::unique_ptr<Renderer>> m_renderers;   // most recently used first
    QSet<int> m_failedPages;
    int m_renderCount = 0;
    int m_wheelRemainder = 0;
};

} // namespace report
