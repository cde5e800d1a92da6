#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace mr3x {

namespace {

QString titleOr(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("M-R3X Master") : title;
}

// The program's texts break their lines with CR LF; a label breaks them at LF alone.
QString shown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QWidget* QtDialogs::owner() const
{
    // Over the window the user works in (the configuration editor asks its own questions), so a
    // box never opens behind it.
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : parent_;
}

MsgAnswer QtDialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    QMessageBox box(owner());
    box.setWindowTitle(titleOr(title));
    box.setText(shown(text));
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
    return promptOrCancel(text, title, defaultAnswer).value_or(QString());
}

std::optional<QString> QtDialogs::promptOrCancel(const QString& text, const QString& title, const QString& defaultAnswer)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(owner(), titleOr(title), shown(text), QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtDialogs::saveFileName(const QString& title, const QString& suggestedPath, const QString& filters)
{
    const QString chosen = QFileDialog::getSaveFileName(owner(), titleOr(title), suggestedPath, filters, nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace mr3x
