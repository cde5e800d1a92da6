#include "collect/CollectLog.h"

#include "common/Files.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

namespace mr3x::collect {

CollectLog::CollectLog(const QString& programFolder, qint64 limit)
    : path_(joinPath(programFolder, QStringLiteral("mr3x-collect.log")))
    , oldPath_(joinPath(programFolder, QStringLiteral("mr3x-collect.old.log")))
    , limit_(limit)
{
}

bool CollectLog::openForAppend()
{
    if (file_.isOpen() && file_.size() < limit_)
        return true;
    if (!file_.isOpen() && QFileInfo(path_).size() < limit_) {
        file_.setFileName(path_);
    } else {
        file_.close();
        QFile::remove(oldPath_);
        QFile::rename(path_, oldPath_);
        file_.setFileName(path_);
    }
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    if (!failed_)
        std::fprintf(stderr, "mr3x-collect: the log %s cannot be written: %s\n", qPrintable(nativePath(path_)),
                     qPrintable(file_.errorString()));
    failed_ = true;
    return false;
}

void CollectLog::line(const QString& unit, const QString& text)
{
    if (!openForAppend())
        return;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    file_.write((stamp + QStringLiteral("  ") + (unit.isEmpty() ? QStringLiteral("-") : unit) + QStringLiteral("  ") + text +
                 QStringLiteral("\r\n"))
                    .toUtf8());
    file_.flush();
}

} // namespace mr3x::collect
