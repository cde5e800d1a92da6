#pragma once
// An option button with the two things the control panel needs beyond QRadioButton: a Tag
// number that the setting commands read, and a MouseDown event that reports the button pressed.
#include <QMouseEvent>
#include <QRadioButton>

namespace mr3x {

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption = QString(), int tag = 0, QWidget* parent = nullptr)
        : QRadioButton(caption, parent), tag_(tag) {}

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    /// Back colour as a Windows colour value (0xBBGGRR, red in the low byte); -1 for the default.
    void setBackColor(long bgr);
    long BackColor() const { return backColor_; }

signals:
    /// A mouse button was pressed over the button (before it is selected).
    void MouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        emit MouseDown(event->button());
        // The handler decides what is selected; the press itself selects nothing more.
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void keyPressEvent(QKeyEvent* event) override
    {
        // Space selects a focused button the way a click does.
        if (event->key() == Qt::Key_Space) {
            emit MouseDown(Qt::LeftButton);
            event->accept();
            return;
        }
        QRadioButton::keyPressEvent(event);
    }

private:
    int tag_ = 0;
    long backColor_ = -1;
};

} // namespace mr3x
