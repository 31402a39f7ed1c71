#include "widgets/picturebutton.h"

#include "widgets/office2003.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace widgets {

namespace {

// Room around the content for the outline and the focus rectangle.
constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 6;
constexpr int focusInset = 3;

} // namespace

PictureButton::PictureButton(QWidget *parent)
    : QPushButton(parent)
{
    setAttribute(Qt::WA_Hover);
}

PictureButton::PictureButton(const QString &text, const QPixmap &picture, QWidget *parent)
    : PictureButton(parent)
{
    setText(text);
    setPicture(picture);
}

void PictureButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    updateGeometry();
    update();
}

QPixmap PictureButton::maskedPixmap(const QImage &image, const QColor &transparentColour)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparentColour.rgb() & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(masked);
}

QSize PictureButton::pictureSize() const
{
    if (m_picture.isNull())
        return QSize();
    return (QSizeF(m_picture.size()) / m_picture.devicePixelRatio()).toSize();
}

int PictureButton::contentWidth() const
{
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    const int picture = pictureSize().width();
    const int gap = picture > 0 && textWidth > 0 ? pictureSpacing : 0;
    return picture + gap + textWidth;
}

QRect PictureButton::pictureRect() const
{
    const QSize size = pictureSize();
    if (size.isEmpty())
        return QRect();
    const int left = (width() - contentWidth()) / 2;
    return QRect(QPoint(left, (height() - size.height()) / 2), size);
}

QRect PictureButton::captionRect() const
{
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    const int left = (width() - contentWidth()) / 2 + contentWidth() - textWidth;
    return QRect(left, 0, textWidth, height());
}

QSize PictureButton::sizeHint() const
{
    const int contentHeight = std::max(pictureSize().height(), fontMetrics().height());
    return QSize(contentWidth() + 2 * horizontalPadding, contentHeight + 2 * verticalPadding);
}

QSize PictureButton::minimumSizeHint() const
{
    return sizeHint();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    using office2003::ButtonState;
    ButtonState state = ButtonState::Normal;
    if (!isEnabled())
        state = ButtonState::Disabled;
    else if (isDown() || isChecked())
        state = ButtonState::Pressed;
    else if (underMouse())
        state = ButtonState::Hot;

    QPainter painter(this);
    office2003::paintButtonFace(painter, rect(), state);

    if (!m_picture.isNull()) {
        QPixmap picture = m_picture;
        if (!isEnabled()) {
            QStyleOption option;
            option.initFrom(this);
            picture = style()->generatedIconPixmap(QIcon::Disabled, m_picture, &option);
        }
        painter.drawPixmap(pictureRect(), picture);
    }

    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    painter.drawText(captionRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     text());

    if (hasFocus()) {
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(focusInset, focusInset, -focusInset - 1,
                                         -focusInset - 1));
    }
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace widgets
