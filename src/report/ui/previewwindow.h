#pragma once

#include "report/ui/runfactory.h"

#include <QDialog>

#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace report {

class PageView;

// The print preview of one run. It first lays the run out in slices from the
// event loop, with the close button reading "Rinuncia" (cancel) meanwhile,
// then shows the pages at whole-page zoom from the first one, and offers
// printing, zoom and paging commands.
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    // Detail bands laid out per turn of the event loop while pages are counted.
    static constexpr int bandsPerSlice = 500;

    // Makes the run at once; what makeRun throws reaches the caller.
    explicit PreviewWindow(RunFactory makeRun, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    const ReportRun &run() const { return *m_run; }
    PageView *pageView() const { return m_view; }
    QPushButton *closeButton() const { return m_closeButton; }
    // True once the pages are counted and on show.
    bool pagesReady() const;

    void done(int result) override;

private:
    QAction *addCommand(const QIcon &icon, const QString &hint);
    void layoutSlice();
    void showPages();
    void showPage(int index);
    void print();

    RunFactory m_makeRun;
    std::unique_ptr<ReportRun> m_run;
    PageView *m_view = nullptr;
    QTimer *m_layoutTimer = nullptr;
    QAction *m_print = nullptr;
    QAction *m_firstPage = nullptr;
    QAction *m_previousPage = nullptr;
    QAction *m_nextPage = nullptr;
    QAction *m_lastPage = nullptr;
    QSpinBox *m_pageField = nullptr;
    QLabel *m_pageCountLabel = nullptr;
    QPushButton *m_closeButton = nullptr;
    QLabel *m_statusLabel = nullptr;
};

// Shows the preview of a run made by makeRun, modally; returns when the user
// closes it. Printing from it prints a new run from makeRun.
void showPreview(QWidget *parent, const RunFactory &makeRun);

} // namespace report
