#pragma once
// The terminal screen: shows the link traffic and hands what the user types to the serial control.
#include <QPlainTextEdit>

namespace mr3x {

class TerminalScreen : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalScreen(QWidget* parent = nullptr);
    /// Shows the text, keeping the view at its end.
    void showText(const QString& text);

signals:
    void Typed(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace mr3x
