#pragma once
// The locks that keep the window and the collector off one unit: one per unit folder, one per
// port. Each is a QLockFile, so a lock whose program has ended (a crash, a kill) is taken over
// by the next that asks, and a lock held for hours by a long download never goes stale.
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

namespace mr3x {

/// A file in the temporary folder named for the unit folder.
QString unitLockPath(const QString& unitFolder);
/// A file in the temporary folder named for the port (two names of one port share it).
QString portLockPath(const QString& port);

class WorkLock {
public:
    explicit WorkLock(const QString& path);
    /// Takes the lock if no running program holds it. When another does, says who:
    /// "mr3x-collect (process 4711)"; when the lock cannot be made at all, why.
    std::optional<QString> take();
    bool held() const { return file_.isLocked(); }
    void release() { file_.unlock(); }

private:
    QLockFile file_;
};

/// A unit folder's lock and its port's, taken together and released together.
class UnitWorkLocks {
public:
    /// Takes both or neither; the refusal says plainly who works the unit or the port.
    std::optional<QString> take(const QString& unit, const QString& unitFolder, const QString& port);
    /// Takes the port's alone (the window opens a port before any unit is chosen).
    std::optional<QString> takePort(const QString& port);
    std::optional<QString> takeUnit(const QString& unit, const QString& unitFolder);
    void releaseUnit() { unit_.reset(); }
    void releasePort() { port_.reset(); }
    void release();

private:
    std::unique_ptr<WorkLock> unit_;
    std::unique_ptr<WorkLock> port_;
    QString portName_;
};

} // namespace mr3x
