#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mr3x::test {

TempFolder::TempFolder(const QString& innerName)
{
    path_ = dir_.path();
    if (!innerName.isEmpty()) {
        path_ += QLatin1Char('/') + innerName;
        QDir().mkpath(path_);
    }
}

QString TempFolder::operator()(const QString& relative) const
{
    return relative.isEmpty() ? path_ : path_ + QLatin1Char('/') + relative;
}

QString TempFolder::write(const QString& relative, const QByteArray& content) const
{
    const QString file = (*this)(relative);
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return file;
}

QString TempFolder::writeLines(const QString& relative, const QStringList& lines) const
{
    QByteArray content;
    for (const QString& line : lines)
        content += line.toUtf8() + "\r\n";
    return write(relative, content);
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile f((*this)(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempFolder::exists(const QString& relative) const
{
    return QFileInfo::exists((*this)(relative));
}

QString TempFolder::mkdirs(const QString& relative) const
{
    QDir().mkpath((*this)(relative));
    return (*this)(relative);
}

} // namespace mr3x::test
