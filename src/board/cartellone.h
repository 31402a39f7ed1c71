#pragma once

#include <QDialog>
#include <QString>

namespace board {

// A number cell: a 1 px single-line border around a soft raised bevel, the
// caption centred at the top of what lies inside, on the colour of the
// window it sits in. Its size is fitted to the caption.
class StaticText : public QWidget
{
    Q_OBJECT

public:
    // Border and bevel together, on each side.
    static constexpr int edgeWidth = 3;

    explicit StaticText(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // The caption's extent in the cell's font plus 4 px each way.
    QSize fittedSize() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitToCaption();

    QString m_caption;
    bool m_leftPressed = false;
};

// The electronic board: a window with one number cell that turns the window
// white when clicked.
class TCartelloneElettronico : public QDialog
{
    Q_OBJECT

public:
    explicit TCartelloneElettronico(QWidget *owner = nullptr);

    StaticText *StaticText1 = nullptr;

    // The cell's click handler: turns the window, and with it the cell, white.
    void StaticText1Click();

    void setVisible(bool visible) override;
};

// Opens a fresh electronic board owned by owner, modally, and destroys it
// once it is closed.
void openElectronicBoard(QWidget *owner);

} // namespace board
