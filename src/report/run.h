#pragma once

#include "report/layout.h"
#include "report/page.h"
#include "report/pipeline.h"
#include "report/textmeasure.h"

#include <QDateTime>
#include <QList>
#include <QLocale>

#include <memory>

namespace report {

// One generation of a layout over a data pipeline.
//
// The first pass lays out every detail band to find the page breaks (and so
// the page count); the second pass makes a page's drawing commands when that
// page is asked for, so showing page 1 of 1200 draws nothing of the others.
//
// The run keeps its own copy of the layout, so texts assigned to the layout
// after the run started (the next series letter) do not change its pages.
// The pipeline must outlive the run and stay unchanged while it lives.
class ReportRun
{
public:
    ReportRun(const Layout &layout, const DataPipeline *pipeline,
              const QDateTime &printDateTime = QDateTime::currentDateTime(),
              const QLocale &locale = reportLocale());

    // First pass, at most maxBands detail bands per call, so that a caller
    // with an event loop can stay responsive and cancel. True once complete.
    bool layoutSome(int maxBands);
    void layoutAll();
    bool isLaidOut() const { return m_laidOut; }
    int bandsLaidOut() const { return m_bandsLaidOut; }
    int bandCount() const { return m_bandCount; }

    // Valid once laid out.
    int pageCount() const { return int(m_pageFirstBand.size()); }
    Page page(int index) const;

    const Layout &layout() const { return *m_layout; }
    const DataPipeline *pipeline() const { return m_pipeline; }
    QDateTime printDateTime() const { return m_printDateTime; }
    QString printDateTimeText() const { return m_printDateTimeText; }

    // The user's locale, or Italian where the system offers only the bare C one.
    static QLocale reportLocale();
    // Short date, a blank, then hours, minutes and seconds in the locale's
    // own way; at exactly midnight the date alone.
    static QString dateTimeText(const QDateTime &dateTime, const QLocale &locale);
    static QString pageSetDescription(int pageNumber, int pageCount);

private:
    void appendElements(Page &page, const Band &band, qreal topMm, int row) const;
    QString systemValueText(const Element &element, int pageNumber) const;

    std::shared_ptr<const Layout> m_layout;
    const DataPipeline *m_pipeline = nullptr;
    QDateTime m_printDateTime;
    QString m_printDateTimeText;
    QList<int> m_fieldIndexes;         // per detail element, for data texts
    int m_bandCount = 0;               // detail bands the run prints
    int m_bandsLaidOut = 0;
    bool m_laidOut = false;
    int m_positionUm = 0;              // first-pass cursor on the current page
    QList<int> m_pageFirstBand;        // first detail band of every page
    mutable TextMeasure m_measure;
};

} // namespace report
