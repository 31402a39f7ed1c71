#pragma once

#include <QLineEdit>

#include <functional>

namespace widgets {

// A borderless read-only field showing a link in blue, underlined, on the
// window's colour. A plain left click in it, or Ctrl+Enter, opens the link.
class LinkField : public QLineEdit
{
    Q_OBJECT

public:
    // Receives the link target, never empty; the default hands it to the
    // desktop's handler for it.
    using OpenHook = std::function<void(const QString &target)>;

    explicit LinkField(QWidget *parent = nullptr);
    explicit LinkField(const QString &text, QWidget *parent = nullptr);

    // The text without leading and trailing blanks.
    QString target() const;

    // Opens the target, if there is one.
    void openLink();

    // An empty hook restores the default.
    void setOpenHook(OpenHook hook);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void followWindowColour();
    void keepUnderlined();
    int automaticHeight() const;

    OpenHook m_openHook;
    bool m_leftPressed = false;
};

} // namespace widgets
