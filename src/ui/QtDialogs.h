#pragma once
// Message boxes and prompts shown with Qt.
#include "common/Dialogs.h"

class QWidget;

namespace mr3x {

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MsgAnswer message(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    QString prompt(const QString& text, const QString& title, const QString& defaultAnswer) override;
    std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                          const QString& defaultAnswer) override;
    std::optional<QString> saveFileName(const QString& title, const QString& suggestedPath,
                                        const QString& filters) override;
    void beep() override;

private:
    QWidget* owner() const;

    QWidget* parent_ = nullptr;
};

} // namespace mr3x
