#include "board/cartellone.h"

#include "report/fonts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace board {

namespace {

QFont windowFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font = report::fonts::font(family, pointSize, bold);
    font.setHintingPreference(QFont::PreferDefaultHinting);
    return font;
}

} // namespace

StaticText::StaticText(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    fitToCaption();
}

void StaticText::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitToCaption();
    update();
}

QSize StaticText::fittedSize() const
{
    const QFontMetrics metrics = fontMetrics();
    // Four times the 1 px single-line border.
    constexpr int allowance = 4;
    return QSize(metrics.horizontalAdvance(m_caption) + allowance,
                 metrics.ascent() + metrics.descent() + allowance);
}

void StaticText::fitToCaption()
{
    resize(fittedSize());
}

void StaticText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette colours = palette();
    // The window's colour, whatever it is now: the cell sets none of its own.
    painter.fillRect(rect(), colours.brush(QPalette::Window));

    const auto frame = [&painter](const QRect &ring, const QColor &topLeft,
                                  const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(ring.topLeft(), ring.topRight());
        painter.drawLine(ring.topLeft(), ring.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(ring.bottomLeft(), ring.bottomRight());
        painter.drawLine(ring.topRight(), ring.bottomRight());
    };
    const QRect border = rect();
    const QRect outerRing = border.adjusted(1, 1, -1, -1);
    const QRect innerRing = outerRing.adjusted(1, 1, -1, -1);
    const QColor line = colours.color(QPalette::Shadow);
    frame(border, line, line);
    // Soft raised bevel: the outer ring runs from highlight to dark shadow,
    // the inner one from light to shadow.
    frame(outerRing, colours.color(QPalette::Light), colours.color(QPalette::Shadow));
    frame(innerRing, colours.color(QPalette::Midlight), colours.color(QPalette::Dark));

    const QRect inner = rect().adjusted(edgeWidth, edgeWidth, -edgeWidth, -edgeWidth);
    const QFontMetrics metrics = fontMetrics();
    const int textWidth = metrics.horizontalAdvance(m_caption);
    // The caption is centred on the inner area but keeps its full extent, so
    // the inner area, smaller than it, cuts its edges.
    const QRect textBox(inner.left() + (inner.width() - textWidth) / 2, inner.top(), textWidth,
                        metrics.ascent() + metrics.descent());
    painter.setClipRect(inner);
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
}

void StaticText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    else
        QWidget::mousePressEvent(event);
}

void StaticText::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_leftPressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_leftPressed = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void StaticText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitToCaption();
    QWidget::changeEvent(event);
}

TCartelloneElettronico::TCartelloneElettronico(QWidget *owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CartelloneElettronico"));
    setWindowTitle(QStringLiteral("CartelloneElettronico"));
    setFont(windowFont(QStringLiteral("Tahoma"), 8, false));
    resize(667, 609);

    StaticText1 = new StaticText(QStringLiteral("1"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setFont(windowFont(QStringLiteral("Tahoma"), 25, true));
    StaticText1->move(8, 8);
    connect(StaticText1, &StaticText::clicked, this, &TCartelloneElettronico::StaticText1Click);
}

void TCartelloneElettronico::StaticText1Click()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void TCartelloneElettronico::setVisible(bool visible)
{
    // Centred on the screen rather than over the owner, as QDialog would;
    // moving first keeps QDialog from placing it again.
    if (visible && !isVisible()) {
        // The native window first, so that the frame is known where the
        // platform can tell it before the window is mapped.
        create();
        if (const QScreen *screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            const QSize frame = frameGeometry().size();
            move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
        }
    }
    QDialog::setVisible(visible);
}

void openElectronicBoard(QWidget *owner)
{
    auto *window = new TCartelloneElettronico(owner);
    window->exec();
    // No guard on purpose: should a failure escape the modal loop, the window
    // stays with its owner, which destroys it in turn.
    delete window;
}

} // namespace board
