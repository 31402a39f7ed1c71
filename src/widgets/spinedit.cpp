#include "widgets/spinedit.h"

#include "widgets/office2003.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace widgets {

namespace {

constexpr int stepButtonWidth = 16;
constexpr int frameWidth = 1;
// Room between the frame and the line of text, above and below.
constexpr int textMargin = 2;

int deltaOf(SpinEdit::Step step)
{
    switch (step) {
    case SpinEdit::Step::BackTen:
        return -10;
    case SpinEdit::Step::BackOne:
        return -1;
    case SpinEdit::Step::ForwardOne:
        return 1;
    case SpinEdit::Step::ForwardTen:
        return 10;
    }
    return 0;
}

constexpr int arrowDepth = 4;

// A solid arrowhead, arrowDepth columns wide, whose one-pixel tip lies in
// column tipX; drawn column by column to stay crisp at this size.
void drawArrowHead(QPainter &painter, int tipX, int centreY, bool pointsRight,
                   const QColor &colour)
{
    for (int i = 0; i < arrowDepth; ++i) {
        const int x = pointsRight ? tipX - i : tipX + i;
        painter.fillRect(x, centreY - i, 1, 2 * i + 1, colour);
    }
}

} // namespace

// One of the four step buttons. It reports presses and releases of the left
// mouse button; the field does the stepping and the repeat.
class StepButton : public QWidget
{
    Q_OBJECT

public:
    StepButton(int delta, QWidget *parent)
        : QWidget(parent)
        , m_delta(delta)
    {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }

    int delta() const { return m_delta; }

signals:
    void pressed();
    void released();

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        setDown(true);
        emit pressed();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || !m_down) {
            event->ignore();
            return;
        }
        setDown(false);
        emit released();
    }

    void hideEvent(QHideEvent *event) override
    {
        // A hidden button gets no release, so the repeat must stop here.
        if (m_down) {
            setDown(false);
            emit released();
        }
        QWidget::hideEvent(event);
    }

    void enterEvent(QEnterEvent *event) override
    {
        update();
        QWidget::enterEvent(event);
    }

    void leaveEvent(QEvent *event) override
    {
        update();
        QWidget::leaveEvent(event);
    }

    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            update();
        QWidget::changeEvent(event);
    }

    void paintEvent(QPaintEvent *) override
    {
        using office2003::ButtonState;
        ButtonState state = ButtonState::Normal;
        if (!isEnabled())
            state = ButtonState::Disabled;
        else if (m_down)
            state = ButtonState::Pressed;
        else if (underMouse())
            state = ButtonState::Hot;

        QPainter painter(this);
        office2003::paintButtonFace(painter, rect(), state);

        const QColor arrow = isEnabled() ? QColor(Qt::black) : QColor(150, 150, 150);
        const bool pointsRight = m_delta > 0;
        const int centreX = width() / 2;
        const int centreY = (height() - 1) / 2;
        if (std::abs(m_delta) == 1) {
            drawArrowHead(painter, pointsRight ? centreX + 1 : centreX - 2, centreY, pointsRight,
                          arrow);
        } else {
            // Two heads one behind the other, a pixel apart: the big step.
            constexpr int pitch = arrowDepth + 1;
            const int lead = pointsRight ? centreX + 3 : centreX - 4;
            drawArrowHead(painter, lead, centreY, pointsRight, arrow);
            drawArrowHead(painter, pointsRight ? lead - pitch : lead + pitch, centreY, pointsRight,
                          arrow);
        }
    }

private:
    void setDown(bool down)
    {
        m_down = down;
        update();
    }

    const int m_delta;
    bool m_down = false;
};

SpinEdit::SpinEdit(QWidget *parent)
    : QWidget(parent)
    , m_editor(new QLineEdit(this))
    , m_repeatTimer(new QTimer(this))
{
    // The editor only shows and selects the number: typing is refused in
    // eventFilter, and read-only leaves Delete, cut, paste and the menu's
    // editing commands without effect.
    m_editor->setReadOnly(true);
    m_editor->setFrame(false);
    m_editor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Read-only shows the arrow, but the number can still be selected.
    m_editor->setCursor(Qt::IBeamCursor);
    m_editor->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_editor);

    const Step steps[] = {Step::BackTen, Step::BackOne, Step::ForwardOne, Step::ForwardTen};
    for (Step step : steps) {
        auto *button = new StepButton(deltaOf(step), this);
        connect(button, &StepButton::pressed, this, [this, button] {
            setFocus(Qt::MouseFocusReason);
            startRepeat(button->delta());
        });
        connect(button, &StepButton::released, this, &SpinEdit::stopRepeat);
        m_stepButtons[static_cast<int>(step)] = button;
    }

    connect(m_repeatTimer, &QTimer::timeout, this, &SpinEdit::repeatStep);

    updateText();
    setFixedHeight(automaticHeight());
}

void SpinEdit::setMinimum(int minimum)
{
    setRange(minimum, std::max(minimum, m_maximum));
}

void SpinEdit::setMaximum(int maximum)
{
    setRange(std::min(m_minimum, maximum), maximum);
}

void SpinEdit::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

void SpinEdit::setValue(int value)
{
    value = std::clamp(value, m_minimum, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    updateText();
    emit valueChanged(m_value);
}

void SpinEdit::stepBy(int delta)
{
    const qint64 target = qint64(m_value) + delta;
    setValue(int(std::clamp<qint64>(target, m_minimum, m_maximum)));
}

QWidget *SpinEdit::stepButton(Step step) const
{
    return m_stepButtons[static_cast<int>(step)];
}

void SpinEdit::setBeepHook(BeepHook hook)
{
    m_beepHook = std::move(hook);
}

int SpinEdit::automaticHeight() const
{
    return fontMetrics().height() + 2 * (frameWidth + textMargin);
}

QSize SpinEdit::sizeHint() const
{
    const int digits = fontMetrics().horizontalAdvance(QString::number(m_maximum));
    // QLineEdit keeps 2 px either side of its text.
    return QSize(digits + 4 + 4 * stepButtonWidth + 2 * frameWidth, automaticHeight());
}

QSize SpinEdit::minimumSizeHint() const
{
    return QSize(4 * stepButtonWidth + 2 * frameWidth, automaticHeight());
}

bool SpinEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress)
        return handleEditorKey(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

bool SpinEdit::handleEditorKey(QKeyEvent *event)
{
    int delta = 0;
    switch (event->key()) {
    case Qt::Key_Up:
        delta = 1;
        break;
    case Qt::Key_Down:
        delta = -1;
        break;
    case Qt::Key_PageUp:
        delta = 10;
        break;
    case Qt::Key_PageDown:
        delta = -10;
        break;
    case Qt::Key_Backspace:
        beep();
        return true;
    default:
        break;
    }
    if (delta != 0) {
        // Without Ctrl the keys are swallowed so nothing else acts on them.
        if (event->modifiers() & Qt::ControlModifier)
            stepBy(delta);
        return true;
    }

    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Ctrl together with Alt is AltGr on some keyboards and still types.
    const bool command = (modifiers & (Qt::ControlModifier | Qt::MetaModifier))
                         && !(modifiers & Qt::AltModifier);
    if (!text.isEmpty() && text.at(0).isPrint() && !command) {
        beep();
        return true;
    }
    return false;
}

void SpinEdit::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    // Fine-grained wheels report fractions of a notch; step once per whole notch.
    constexpr int notch = QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / notch;
    m_wheelRemainder -= notches * notch;
    if (notches != 0)
        stepBy(notches);
    event->accept();
}

void SpinEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(QPalette::Base));
    painter.setPen(office2003::editorFrameColour());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SpinEdit::resizeEvent(QResizeEvent *event)
{
    const QRect inner = rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth);
    const int top = inner.top();
    const int height = inner.height();
    const int right = inner.right() + 1;
    stepButton(Step::BackTen)->setGeometry(inner.left(), top, stepButtonWidth, height);
    stepButton(Step::BackOne)->setGeometry(inner.left() + stepButtonWidth, top, stepButtonWidth,
                                           height);
    stepButton(Step::ForwardOne)->setGeometry(right - 2 * stepButtonWidth, top, stepButtonWidth,
                                              height);
    stepButton(Step::ForwardTen)->setGeometry(right - stepButtonWidth, top, stepButtonWidth,
                                              height);
    const int editorLeft = inner.left() + 2 * stepButtonWidth;
    m_editor->setGeometry(editorLeft, top,
                          std::max(0, inner.width() - 4 * stepButtonWidth), height);
    QWidget::resizeEvent(event);
}

void SpinEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        setFixedHeight(automaticHeight());
        updateGeometry();
    } else if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        stopRepeat();
    }
    QWidget::changeEvent(event);
}

void SpinEdit::startRepeat(int delta)
{
    m_repeatDelta = delta;
    stepBy(delta);
    m_repeatTimer->start(repeatDelay);
}

void SpinEdit::repeatStep()
{
    if (m_repeatTimer->interval() != repeatInterval)
        m_repeatTimer->setInterval(repeatInterval);
    stepBy(m_repeatDelta);
}

void SpinEdit::stopRepeat()
{
    m_repeatTimer->stop();
    m_repeatDelta = 0;
}

void SpinEdit::beep()
{
    if (m_beepHook)
        m_beepHook();
    else
        QApplication::beep();
}

void SpinEdit::updateText()
{
    m_editor->setText(QString::number(m_value));
}

} // namespace widgets

#include "spinedit.moc"
