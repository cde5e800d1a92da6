#pragma once
// The collector's ear on a unit session: every status text and every message goes to its log,
// each question is answered as the collector must (never change the unit: an out-of-range
// value is told, not mended), and the files stored are kept for the report.
#include "unit/UnitObserver.h"

#include <QStringList>

#include <functional>

namespace mr3x::collect {

using LogLine = std::function<void(const QString& text)>;

class CollectorObserver final : public UnitObserver {
public:
    explicit CollectorObserver(LogLine log) : log_(std::move(log)) {}

    void status(const QString& text) override;
    MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    void stored(const StoredFile& file) override;

    QString lastStatus() const { return lastStatus_; }
    /// What the session told in message boxes since the last take, in order.
    QStringList takeMessages();
    /// The events and manual recordings stored, as their paths.
    const QStringList& storedEvents() const { return storedEvents_; }

private:
    LogLine log_;
    QString lastStatus_;
    QStringList messages_;
    QStringList storedEvents_;
};

} // namespace mr3x::collect
