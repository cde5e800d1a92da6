#include "common/WorkLocks.h"

#include "common/Files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace mr3x {

namespace {

QString tempLockPath(const QString& kind, const QString& key)
{
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::temp().filePath(QStringLiteral("mr3x-") + kind + QLatin1Char('-') + QString::fromLatin1(digest) + QStringLiteral(".lock"));
}

} // namespace

QString unitLockPath(const QString& unitFolder)
{
    // Kept out of the unit folder, whose every file the lists show.
    return tempLockPath(QStringLiteral("unit"), QFileInfo(unitFolder).absoluteFilePath());
}

QString portLockPath(const QString& port)
{
    // Device paths tell case apart, COM names and network addresses do not.
    QString key = port.trimmed();
    if (!key.startsWith(QLatin1Char('/')))
        key = key.toLower();
    return tempLockPath(QStringLiteral("port"), key);
}

WorkLock::WorkLock(const QString& path)
    : file_(path)
{
    // A lock is stale only when its program is gone: a night's download may hold it for hours.
    file_.setStaleLockTime(0);
}

std::optional<QString> WorkLock::take()
{
    if (file_.isLocked() || file_.tryLock(0))
        return std::nullopt;
    qint64 pid = 0;
    QString host;
    QString program;
    // The locks keep programs apart; two parts of one program (two windows) share them.
    if (file_.error() == QLockFile::LockFailedError && file_.getLockInfo(&pid, &host, &program) &&
        pid == QCoreApplication::applicationPid())
        return std::nullopt;
    if (file_.error() == QLockFile::LockFailedError && file_.getLockInfo(&pid, &host, &program)) {
        if (program.isEmpty())
            program = QStringLiteral("another program");
        return program + QStringLiteral(" (process ") + QString::number(pid) + QStringLiteral(")");
    }
    if (file_.error() == QLockFile::LockFailedError)
        return QStringLiteral("another program");
    return QStringLiteral("a lock could not be made in ") + nativePath(QFileInfo(file_.fileName()).path());
}

std::optional<QString> UnitWorkLocks::takeUnit(const QString& unit, const QString& unitFolder)
{
    if (unitFolder.isEmpty())
        return std::nullopt; // no folder, nothing of the unit's to keep apart
    auto lock = std::make_unique<WorkLock>(unitLockPath(unitFolder));
    if (const std::optional<QString> holder = lock->take())
        return unit + QStringLiteral(" is being worked by ") + *holder + QStringLiteral(". Try again when it has finished.");
    unit_ = std::move(lock);
    return std::nullopt;
}

std::optional<QString> UnitWorkLocks::takePort(const QString& port)
{
    if (port_ && portName_ == port)
        return std::nullopt;
    auto lock = std::make_unique<WorkLock>(portLockPath(port));
    if (const std::optional<QString> holder = lock->take())
        return port + QStringLiteral(" is in use by ") + *holder + QStringLiteral(". Try again when it has finished.");
    port_ = std::move(lock);
    portName_ = port;
    return std::nullopt;
}

std::optional<QString> UnitWorkLocks::take(const QString& unit, const QString& unitFolder, const QString& port)
{
    if (std::optional<QString> refusal = takeUnit(unit, unitFolder))
        return refusal;
    if (std::optional<QString> refusal = takePort(port)) {
        releaseUnit();
        return refusal;
    }
    return std::nullopt;
}

void UnitWorkLocks::release()
{
    unit_.reset();
    port_.reset();
    portName_.clear();
}

} // namespace mr3x
