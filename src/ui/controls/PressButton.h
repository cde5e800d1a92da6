#pragma once
// A command button that reports the mouse button pressed over it ("ARM" reads the unit's
// settings again on a right click and arms the unit on any other).
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace mr3x {

class PressButton : public QPushButton {
    Q_OBJECT
public:
    explicit PressButton(const QString& caption = QString(), QWidget* parent = nullptr) : QPushButton(caption, parent) {}

signals:
    /// A mouse button was pressed over the button.
    void MouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        // The handler may open a modal question: the button is not held down meanwhile, so it
        // cannot be left looking pressed once the mouse is released over the question.
        event->accept();
        emit MouseDown(event->button());
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void keyPressEvent(QKeyEvent* event) override
    {
        // Space and Enter on a focused button press it as the left mouse button does.
        if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            emit MouseDown(Qt::LeftButton);
            return;
        }
        QPushButton::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space) {
            event->accept();
            return;
        }
        QPushButton::keyReleaseEvent(event);
    }
};

} // namespace mr3x
