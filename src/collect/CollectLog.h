#pragma once
// "mr3x-collect.log" in the program folder: a stamped line for everything each unit's session
// reports, appended; at 4 MiB it becomes "mr3x-collect.old.log" (one older copy) and a new log
// begins. A log that cannot be written is told once on standard error and the work goes on.
#include <QFile>
#include <QString>

namespace mr3x::collect {

inline constexpr qint64 kCollectLogLimit = 4 * 1024 * 1024;

class CollectLog {
public:
    explicit CollectLog(const QString& programFolder, qint64 limit = kCollectLogLimit);
    /// "2026-12-07 02:00:01.250  MR-0101  text"; `unit` may be empty for the collector's own lines.
    void line(const QString& unit, const QString& text);
    QString path() const { return path_; }

private:
    bool openForAppend();

    QString path_;
    QString oldPath_;
    qint64 limit_;
    QFile file_;
    bool failed_ = false;
};

} // namespace mr3x::collect
