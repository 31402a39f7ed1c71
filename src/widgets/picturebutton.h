#pragma once

#include <QPixmap>
#include <QPushButton>

class QImage;

namespace widgets {

// A push button in the Office 2003 look with a picture to the left of its
// caption, the two centred together. It fires on a click and, when focused,
// on Space, Enter or Return.
class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr int pictureSpacing = 6;

    explicit PictureButton(QWidget *parent = nullptr);
    PictureButton(const QString &text, const QPixmap &picture, QWidget *parent = nullptr);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

    // Where the picture and the caption are drawn, in widget coordinates.
    QRect pictureRect() const;
    QRect captionRect() const;

    // The image with every pixel of transparentColour masked out, for
    // pictures drawn on a key colour rather than with an alpha channel.
    static QPixmap maskedPixmap(const QImage &image, const QColor &transparentColour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSize pictureSize() const;
    int contentWidth() const;

    QPixmap m_picture;
};

} // namespace widgets
