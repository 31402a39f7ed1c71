#include "widgets/office2003.h"

#include <QLinearGradient>
#include <QPainter>

namespace widgets::office2003 {

namespace {

struct Face
{
    QColor top;
    QColor bottom;
    QColor outline;
};

Face faceFor(ButtonState state)
{
    switch (state) {
    case ButtonState::Hot:
        return {QColor(255, 246, 208), QColor(255, 213, 140), QColor(0, 0, 128)};
    case ButtonState::Pressed:
        return {QColor(254, 186, 116), QColor(255, 219, 150), QColor(0, 0, 128)};
    case ButtonState::Disabled:
        return {QColor(238, 238, 238), QColor(214, 214, 214), QColor(172, 172, 172)};
    case ButtonState::Normal:
        break;
    }
    return {QColor(245, 249, 255), QColor(190, 214, 246), QColor(127, 157, 185)};
}

} // namespace

void paintButtonFace(QPainter &painter, const QRect &rect, ButtonState state)
{
    if (rect.isEmpty())
        return;
    const Face face = faceFor(state);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, face.top);
    gradient.setColorAt(1.0, face.bottom);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, gradient);
    painter.setPen(face.outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void paintStatusBar(QPainter &painter, const QRect &rect)
{
    if (rect.isEmpty())
        return;
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, QColor(221, 236, 254));
    gradient.setColorAt(0.5, QColor(196, 218, 250));
    gradient.setColorAt(1.0, QColor(158, 190, 235));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, gradient);
    painter.setPen(QColor(101, 147, 207));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.restore();
}

QColor editorFrameColour()
{
    return QColor(127, 157, 185);
}

} // namespace widgets::office2003
