#pragma once
// Every message box and input prompt of the program goes through this interface: the window
// shows them with Qt, the tests answer them from a script and read back what was asked.
#include <QString>

#include <optional>

namespace mr3x {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// A modal message box; returns the button pressed.
    virtual MsgAnswer message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title = QString()) = 0;

    /// A single-line input prompt with a default answer; Cancel gives an empty text.
    virtual QString prompt(const QString& text, const QString& title, const QString& defaultAnswer) = 0;

    /// The same prompt, telling Cancel (nothing) from an empty answer given with OK.
    virtual std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                                  const QString& defaultAnswer) = 0;

    /// A save-file dialog opened on `suggestedPath`: the path chosen, or nothing on Cancel.
    /// `filters` are name filters ("PNG picture (*.png);;SVG drawing (*.svg)"). The dialog itself
    /// never asks about replacing a file: the caller asks, for every file it would replace.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& suggestedPath,
                                                const QString& filters) = 0;

    /// The PC's beep.
    virtual void beep() = 0;
};

} // namespace mr3x
