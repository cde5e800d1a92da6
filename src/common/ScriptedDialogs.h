#pragma once
// Dialogs answered from a script, for tests: every box and prompt is recorded with its exact
// text, title, buttons and icon, and answered from the queued answers (or the defaults).
#include "common/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace mr3x {

class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        enum class Kind { Message, Prompt, SaveFile } kind;
        QString text;
        QString title;
        MsgButtons buttons = MsgButtons::Ok;
        MsgIcon icon = MsgIcon::None;
        QString defaultAnswer; // prompts: the default answer; save dialogs: the path suggested
        QString answer;        // what the script answered, as text ("Yes", "Ok", or the prompt answer)
        bool cancelled = false; // prompts only: answered with Cancel
    };

    MsgAnswer message(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    QString prompt(const QString& text, const QString& title, const QString& defaultAnswer) override;
    std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                          const QString& defaultAnswer) override;
    std::optional<QString> saveFileName(const QString& title, const QString& suggestedPath,
                                        const QString& filters) override;
    void beep() override { ++beeps; }

    /// Queues the answer to the next message box. Without one, a box is answered with its
    /// first button (OK or Yes).
    void answer(MsgAnswer next) { answers_.push_back(next); }
    /// Queues the answer to the next prompt. Without one, a prompt is answered with its default.
    void answerPrompt(const QString& next) { promptAnswers_.push_back(next); }
    /// Queues Cancel as the answer to the next prompt (an empty text where Cancel cannot be told).
    void cancelPrompt() { promptAnswers_.push_back(std::nullopt); }
    /// Queues the path chosen in the next save dialog. Without one, the dialog takes the path it
    /// suggests.
    void answerSaveFile(const QString& path) { saveAnswers_.push_back(path); }
    /// Queues Cancel as the answer to the next save dialog.
    void cancelSaveFile() { saveAnswers_.push_back(std::nullopt); }

    /// Everything shown so far, oldest first.
    const std::vector<Shown>& shown() const { return shown_; }
    /// The texts of every message box shown so far.
    QStringList messageTexts() const;
    const Shown* last() const { return shown_.empty() ? nullptr : &shown_.back(); }
    void clear() { shown_.clear(); }

    int beeps = 0;

private:
    std::vector<Shown> shown_;
    std::deque<MsgAnswer> answers_;
    std::deque<std::optional<QString>> promptAnswers_;
    std::deque<std::optional<QString>> saveAnswers_;
};

QString toText(MsgAnswer answer);

} // namespace mr3x
