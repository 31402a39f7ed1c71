#pragma once

#include <QWidget>

namespace widgets {

// A 20 px bar in the Office 2003 look with one text panel over its whole
// width. The text is one line, cut off at the right edge without an ellipsis.
class StatusBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    static constexpr int barHeight = 20;
    static constexpr int textInset = 2;

    explicit StatusBar(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace widgets
