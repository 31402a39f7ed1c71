#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// The light-blue Office 2003 look shared by the count field's step buttons,
// the picture buttons and the status bar: vertical gradients with a thin
// outline, warm orange while hot or pressed.
namespace widgets::office2003 {

enum class ButtonState { Normal, Hot, Pressed, Disabled };

// Fills rect with the button face of the given state and draws its 1 px outline.
void paintButtonFace(QPainter &painter, const QRect &rect, ButtonState state);

// Fills rect with the status bar's gradient and a separating line at its top.
void paintStatusBar(QPainter &painter, const QRect &rect);

// Colour of the thin flat frame around editors.
QColor editorFrameColour();

} // namespace widgets::office2003
