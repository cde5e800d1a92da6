#include "common/ScriptedDialogs.h"

namespace mr3x {

QString toText(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Ok: return QStringLiteral("Ok");
    case MsgAnswer::Cancel: return QStringLiteral("Cancel");
    case MsgAnswer::Yes: return QStringLiteral("Yes");
    case MsgAnswer::No: return QStringLiteral("No");
    }
    return {};
}

MsgAnswer ScriptedDialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    MsgAnswer reply = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    if (!answers_.empty()) {
        reply = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({Shown::Kind::Message, text, title, buttons, icon, QString(), toText(reply)});
    return reply;
}

QString ScriptedDialogs::prompt(const QString& text, const QString& title, const QString& defaultAnswer)
{
    return promptOrCancel(text, title, defaultAnswer).value_or(QString());
}

std::optional<QString> ScriptedDialogs::promptOrCancel(const QString& text, const QString& title,
                                                       const QString& defaultAnswer)
{
    std::optional<QString> reply = defaultAnswer;
    if (!promptAnswers_.empty()) {
        reply = promptAnswers_.front();
        promptAnswers_.pop_front();
    }
    Shown shown{Shown::Kind::Prompt, text, title, MsgButtons::OkCancel, MsgIcon::None, defaultAnswer,
                reply.value_or(QString())};
    shown.cancelled = !reply.has_value();
    shown_.push_back(shown);
    return reply;
}

std::optional<QString> ScriptedDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                                     const QString&)
{
    std::optional<QString> reply = suggestedPath;
    if (!saveAnswers_.empty()) {
        reply = saveAnswers_.front();
        saveAnswers_.pop_front();
    }
    Shown shown{Shown::Kind::SaveFile, QString(), title, MsgButtons::OkCancel, MsgIcon::None, suggestedPath,
                reply.value_or(QString())};
    shown.cancelled = !reply.has_value();
    shown_.push_back(shown);
    return reply;
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const auto& s : shown_)
        if (s.kind == Shown::Kind::Message)
            texts << s.text;
    return texts;
}

} // namespace mr3x
