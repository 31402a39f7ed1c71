#include "widgets/statusbar.h"

#include "widgets/office2003.h"

#include <QPainter>

namespace widgets {

StatusBar::StatusBar(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StatusBar::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

QSize StatusBar::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(m_text) + 2 * textInset, barHeight);
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    office2003::paintStatusBar(painter, rect());
    const QRect panel = rect().adjusted(textInset, 0, -textInset, 0);
    painter.setClipRect(panel);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(panel, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

} // namespace widgets
