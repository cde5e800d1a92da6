#include "common/Files.h"

#include "common/Text.h"
#include "common/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace mr3x {

QString joinPath(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (a.endsWith(QLatin1Char('/')))
        return a + b;
    return a + QLatin1Char('/') + b;
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool pathExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray toBytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

/// The encoding of the file there now; UTF-8 for a new file.
TextEncoding encodingOfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return TextEncoding::Utf8;
    return detectTextEncoding(view(file.readAll()));
}

} // namespace

bool writeTextFile(const QString& path, const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines) {
        text += line.toUtf8();
        text += "\r\n";
    }
    // A file goes back in the encoding it was read in; a character its code page cannot hold
    // makes it UTF-8 rather than be lost.
    const std::optional<std::string> encoded = encodeText(view(text), encodingOfFile(path));
    const QByteArray content = encoded ? toBytes(*encoded) : text;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QStringList> readTextLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const std::string text = decodeText(view(content), detectTextEncoding(view(content)));
    QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line opens no new line
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

std::optional<std::vector<std::string>> readLatin1Lines(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return std::nullopt;
    std::vector<std::string> text;
    text.reserve(static_cast<std::size_t>(lines->size()));
    for (const QString& line : *lines)
        text.push_back(line.toLatin1().toStdString());
    return text;
}

bool makeWritable(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

bool removeFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    makeWritable(path);
    return QFile::remove(path);
}

bool copyFileOver(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    if (QFileInfo::exists(to))
        makeWritable(to);
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    if (target.write(content) != content.size()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}

bool ensureFolder(const QString& path)
{
    QFileInfo info(path);
    if (info.exists())
        return true; // a file or folder of that name is already there
    return QDir().mkdir(path);
}

void removeLeftOverSaves(const QString& folder, const QDateTime& now)
{
    // A save writes its temporary file whole and renames it at once, within a second. One last
    // written ten minutes ago belongs to no save under way, in this program or another window:
    // removing it cannot break a rename (where a save still holds its file, Windows refuses the
    // removal anyway).
    constexpr qint64 kNoSaveTakesSeconds = 10 * 60;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        if (isLeftOverSaveName(file.fileName().toStdString()) && file.lastModified().secsTo(now) > kNoSaveTakesSeconds)
            removeFile(file.absoluteFilePath());
}

} // namespace mr3x
