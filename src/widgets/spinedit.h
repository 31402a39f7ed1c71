#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QTimer;

namespace widgets {

class StepButton;

// A whole-number field that is changed only by stepping: four step buttons
// laid out [-10][-1] number [+1][+10], Ctrl with the arrow and page keys, and
// the wheel while focused. The number cannot be typed over, only selected.
class SpinEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)

public:
    enum class Step { BackTen, BackOne, ForwardOne, ForwardTen };
    Q_ENUM(Step)

    // Called for every refused keystroke; the default beeps.
    using BeepHook = std::function<void()>;

    static constexpr int repeatDelay = 400;
    static constexpr int repeatInterval = 100;

    explicit SpinEdit(QWidget *parent = nullptr);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);

    // Moves the value by delta, stopping at the limits.
    void stepBy(int delta);

    QWidget *stepButton(Step step) const;

    // Drives the repeat while a step button is held: it first fires
    // repeatDelay after the press, then every repeatInterval.
    QTimer *repeatTimer() const { return m_repeatTimer; }

    // An empty hook restores the default.
    void setBeepHook(BeepHook hook);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setValue(int value);

signals:
    void valueChanged(int value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool handleEditorKey(QKeyEvent *event);
    void startRepeat(int delta);
    void repeatStep();
    void stopRepeat();
    void beep();
    void updateText();
    int automaticHeight() const;

    QLineEdit *m_editor = nullptr;
    StepButton *m_stepButtons[4] = {};
    QTimer *m_repeatTimer = nullptr;
    BeepHook m_beepHook;
    int m_value = 1;
    int m_minimum = 1;
    int m_maximum = 6000;
    int m_repeatDelta = 0;
    int m_wheelRemainder = 0;
};

} // namespace widgets
