#pragma once
// A label whose caption change is an event (the status line reacts to every new text), and
// which can be clicked (the panels' "X" labels, the slider labels).
#include <QLabel>
#include <QMouseEvent>

namespace mr3x {

class EventLabel : public QLabel {
    Q_OBJECT
public:
    explicit EventLabel(const QString& text = QString(), QWidget* parent = nullptr) : QLabel(text, parent) {}

    /// Sets the caption; a new text raises Change, the text it already shows does not.
    void setText(const QString& text)
    {
        if (text == QLabel::text())
            return;
        QLabel::setText(text);
        emit Change();
    }
    /// Paints the label at once (the program repaints the status line before a long wait).
    void Refresh() { repaint(); }

signals:
    void Change();
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QLabel::mousePressEvent(event);
        if (event->button() == Qt::LeftButton)
            emit Click();
    }
};

} // namespace mr3x
