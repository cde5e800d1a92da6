#pragma once
// The window's texts as the formats read them: list entries and captions are Latin-1 (one byte
// a character, as they go to the unit), and the mirror labels hold whole numbers.
#include "common/Text.h"

#include <QLabel>
#include <QString>

#include <string>
#include <string_view>

namespace mr3x::unitsettings {

inline std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

inline QString fromLatin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// The number a mirror label holds.
inline int labelNumber(const QLabel* label)
{
    return static_cast<int>(leadingInteger(latin1(label->text())));
}

} // namespace mr3x::unitsettings
