#pragma once
// Lines of text between the file readers (Qt strings) and the formats (standard strings, UTF-8).
#include <QStringList>

#include <string>
#include <vector>

namespace mr3x {

inline std::vector<std::string> toStdLines(const QStringList& lines)
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        out.push_back(line.toStdString());
    return out;
}

inline QStringList toQLines(const std::vector<std::string>& lines)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

} // namespace mr3x
