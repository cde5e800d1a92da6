#include "ui/controls/TerminalScreen.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>

namespace mr3x {

TerminalScreen::TerminalScreen(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("QPlainTextEdit { background: #101010; color: #7CFC00; }"));
}

void TerminalScreen::showText(const QString& text)
{
    if (text == toPlainText())
        return;
    setPlainText(text);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TerminalScreen::keyPressEvent(QKeyEvent* event)
{
    QString typed = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        typed = QStringLiteral("\r");
    if (!typed.isEmpty()) {
        emit Typed(typed);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace mr3x
