#include "ui/QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace mr3x {

MsgAnswer QtDialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("M-R3X Master") : title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default: break;
    }
    // The box was closed without a button: the safe answer.
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : (buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel : MsgAnswer::Ok);
}

QString QtDialogs::prompt(const QString& text, const QString& title, const QString& defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title.isEmpty() ? QStringLiteral("M-R3X Master") : title, text,
                                                 QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace mr3x
