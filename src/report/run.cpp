#include "report/run.h"

#include "report/textmeasure.h"

#include <QRegularExpression>

namespace report {

// Page geometry, from the paper's top edge down:
//
//   [top margin][header][detail][detail]...[detail]   (free)   [footer][bottom margin]
//                       ^ first band                  ^ lower limit
//
// The header sits on the top margin and the detail bands follow it without
// gaps. A band goes on a page only whole: when the next one would pass the
// lower limit (the top of the footer) a new page begins. The footer sits at
// its fixed place above the bottom margin on every page, however many bands
// the page holds.

namespace {

constexpr qreal mmPerUm = 0.001;

qreal toMm(int um)
{
    return um * mmPerUm;
}

int screenPixels(int um)
{
    return qRound(um * 96.0 / 25400.0);
}

} // namespace

ReportRun::ReportRun(const Layout &layout, const DataPipeline *pipeline,
                     const QDateTime &printDateTime, const QLocale &locale)
    : m_layout(std::make_shared<const Layout>(layout)),
      m_pipeline(pipeline),
      m_printDateTime(printDateTime),
      m_printDateTimeText(dateTimeText(printDateTime, locale))
{
    // Without data the detail band prints once: with auto-stop that is the
    // rule, and without it there would be no end to the report.
    m_bandCount = m_pipeline ? m_pipeline->rowCount() : 1;

    for (const Element &element : m_layout->detail.elements) {
        m_fieldIndexes.append(element.kind == ElementKind::DataText && m_pipeline
                                  ? m_pipeline->fieldIndex(element.field)
                                  : -1);
    }
}

bool ReportRun::layoutSome(int maxBands)
{
    if (m_laidOut)
        return true;

    const Layout &layout = *m_layout;
    const int firstBandTop = layout.marginTopUm + layout.header.heightUm;
    const int lowerLimit = layout.paperHeightUm - layout.marginBottomUm - layout.footer.heightUm;

    if (m_pageFirstBand.isEmpty()) {
        m_pageFirstBand.append(0);
        m_positionUm = firstBandTop;
    }
    for (; maxBands > 0 && m_bandsLaidOut < m_bandCount; --maxBands) {
        const bool pageHoldsBands = m_bandsLaidOut > m_pageFirstBand.last();
        if (pageHoldsBands && m_positionUm + layout.detail.heightUm > lowerLimit) {
            m_pageFirstBand.append(m_bandsLaidOut);
            m_positionUm = firstBandTop;
        }
        m_positionUm += layout.detail.heightUm;
        ++m_bandsLaidOut;
    }
    m_laidOut = m_bandsLaidOut == m_bandCount;
    return m_laidOut;
}

void ReportRun::layoutAll()
{
    while (!layoutSome(1 << 20)) {
    }
}

Page ReportRun::page(int index) const
{
    Q_ASSERT(m_laidOut && index >= 0 && index < pageCount());
    const Layout &layout = *m_layout;

    Page page;
    page.number = index + 1;
    page.paperMm = QSizeF(toMm(layout.paperWidthUm), toMm(layout.paperHeightUm));
    page.layout = m_layout;

    const int firstBand = m_pageFirstBand.at(index);
    const int endBand = index + 1 < pageCount() ? m_pageFirstBand.at(index + 1) : m_bandCount;

    appendElements(page, layout.header, toMm(layout.marginTopUm), -1);
    int topUm = layout.marginTopUm + layout.header.heightUm;
    for (int band = firstBand; band < endBand; ++band) {
        appendElements(page, layout.detail, toMm(topUm), m_pipeline ? band : -1);
        topUm += layout.detail.heightUm;
    }
    appendElements(page, layout.footer,
                   toMm(layout.paperHeightUm - layout.marginBottomUm - layout.footer.heightUm), -1);
    return page;
}

void ReportRun::appendElements(Page &page, const Band &band, qreal topMm, int row) const
{
    TextMeasure &measure = m_measure;
    const qreal leftMm = toMm(m_layout->marginLeftUm);
    const bool isDetail = &band == &m_layout->detail;

    for (qsizetype i = 0; i < band.elements.size(); ++i) {
        const Element &element = band.elements.at(i);
        Command command;
        command.element = element.name;
        command.box = QRectF(leftMm + toMm(element.box.left), topMm + toMm(element.box.top),
                             toMm(element.box.width), toMm(element.box.height));

        switch (element.kind) {
        case ElementKind::Rectangle:
        case ElementKind::RoundRect:
            command.kind = Command::Kind::Rect;
            command.penPx = element.penPx;
            command.filled = element.filled;
            if (element.kind == ElementKind::RoundRect) {
                const int shorterPx = std::min(screenPixels(element.box.width),
                                               screenPixels(element.box.height));
                command.cornerPx = shorterPx / 4;
            }
            break;

        case ElementKind::Picture:
            command.kind = Command::Kind::Picture;
            command.picture = &element.picture;
            command.pictureMode = element.pictureMode;
            break;

        case ElementKind::DataText: {
            command.kind = Command::Kind::Text;
            const int field = isDetail ? m_fieldIndexes.at(i) : -1;
            const QString text = (m_pipeline && row >= 0 && field >= 0)
                                     ? m_pipeline->text(row, field) : QString();
            command.lines = QStringList{text};
            break;
        }

        case ElementKind::Label:
        case ElementKind::SystemValue: {
            command.kind = Command::Kind::Text;
            const QString text = element.kind == ElementKind::Label
                                     ? element.text : systemValueText(element, page.number);
            command.lines = QStringList{text};
            if (!element.autoSize)
                break;
            // The box takes the size of its text, keeping its left edge or its centre.
            const qreal widthMm = measure.widthMm(element.font, text);
            const qreal heightMm = measure.lineHeightMm(element.font);
            const qreal left = element.align == HAlign::Center
                                   ? command.box.center().x() - widthMm / 2 : command.box.left();
            command.box = QRectF(left, command.box.top(), widthMm, heightMm);
            break;
        }

        case ElementKind::TextBlock: {
            command.kind = Command::Kind::Text;
            const qreal lineHeight = measure.lineHeightMm(element.font);
            command.lineHeightMm = lineHeight;
            const int fittingLines = int(command.box.height() / lineHeight + 1e-9);
            QStringList lines;
            for (const QString &paragraph : element.text.split(QLatin1Char('\n'))) {
                QString line;
                for (const QChar ch : paragraph) {
                    if (!line.isEmpty()
                        && measure.widthMm(element.font, line + ch) > command.box.width()) {
                        lines.append(line);
                        line.clear();
                    }
                    line += ch;
                }
                lines.append(line);
            }
            command.lines = lines.mid(0, fittingLines);
            break;
        }
        }

        if (command.kind == Command::Kind::Text) {
            command.font = &element.font;
            command.align = element.align;
            command.borderPt = element.borderPt;
        }
        page.commands.append(std::move(command));
    }
}

QString ReportRun::systemValueText(const Element &element, int pageNumber) const
{
    switch (element.systemValue) {
    case SystemValueKind::PrintDateTime:
        return m_printDateTimeText;
    case SystemValueKind::PageSetDescription:
        return pageSetDescription(pageNumber, pageCount());
    }
    return QString();
}

QLocale ReportRun::reportLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Italian, QLocale::Italy);
    return system;
}

QString ReportRun::dateTimeText(const QDateTime &dateTime, const QLocale &locale)
{
    const QString date = locale.toString(dateTime.date(), QLocale::ShortFormat);
    const QTime time = dateTime.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;

    // The locale's long time format, less any time zone: hours, minutes and
    // seconds with the locale's separator, leading zero and clock.
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression timeZone(QStringLiteral("\\s*t+\\s*"));
    format.replace(timeZone, QStringLiteral(" "));
    format = format.trimmed();
    return date + QLatin1Char(' ') + locale.toString(time, format);
}

QString ReportRun::pageSetDescription(int pageNumber, int pageCount)
{
    return QStringLiteral("Pagina %1 di %2").arg(pageNumber).arg(pageCount);
}

} // namespace report
