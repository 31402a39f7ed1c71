#include "widgets/linkfield.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace widgets {

LinkField::LinkField(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
    // After setReadOnly, which puts back the arrow.
    setCursor(Qt::PointingHandCursor);

    // Only the underline is set, so family and size still come from the parent.
    QFont underlined;
    underlined.setUnderline(true);
    setFont(underlined);
    followWindowColour();
    setFixedHeight(automaticHeight());

    // A link longer than the field shows its beginning, not where setText
    // leaves the cursor.
    connect(this, &QLineEdit::textChanged, this, [this] { setCursorPosition(0); });
}

LinkField::LinkField(const QString &text, QWidget *parent)
    : LinkField(parent)
{
    setText(text);
}

QString LinkField::target() const
{
    return text().trimmed();
}

void LinkField::openLink()
{
    const QString link = target();
    if (link.isEmpty())
        return;
    if (m_openHook)
        m_openHook(link);
    else
        QDesktopServices::openUrl(QUrl::fromUserInput(link));
}

void LinkField::setOpenHook(OpenHook hook)
{
    m_openHook = std::move(hook);
}

void LinkField::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    QLineEdit::mousePressEvent(event);
}

void LinkField::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    // A press that ends a drag selection is the user picking text, not a click.
    if (rect().contains(event->position().toPoint()) && !hasSelectedText())
        openLink();
}

void LinkField::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        event->accept();
        openLink();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LinkField::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        followWindowColour();
    else if (event->type() == QEvent::FontChange) {
        keepUnderlined();
        setFixedHeight(automaticHeight());
    }
    QLineEdit::changeEvent(event);
}

void LinkField::followWindowColour()
{
    QPalette colours = palette();
    const QColor window = colours.color(QPalette::Window);
    const QColor blue(0, 0, 255);
    if (colours.color(QPalette::Base) == window && colours.color(QPalette::Text) == blue)
        return;
    colours.setColor(QPalette::Base, window);
    colours.setColor(QPalette::Text, blue);
    setPalette(colours);
}

void LinkField::keepUnderlined()
{
    if (font().underline())
        return;
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

int LinkField::automaticHeight() const
{
    // One line and QLineEdit's own margin of 1 px above and below it.
    return fontMetrics().height() + 2;
}

} // namespace widgets
