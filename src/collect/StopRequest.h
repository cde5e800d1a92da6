#pragma once
// SIGTERM (systemd's stop, kill) and SIGINT (Ctrl+C) turned into one call from the event loop:
// a signal handler may only set a flag, so a short timer looks at it. The waits on the unit let
// the event loop run, so a stop reaches even a unit in the middle of a transfer.
#include <QObject>
#include <QTimer>

#include <functional>

namespace mr3x::collect {

class StopRequest : public QObject {
public:
    explicit StopRequest(std::function<void()> onStop);
    ~StopRequest() override;
    bool requested() const;

private:
    QTimer poll_;
    std::function<void()> onStop_;
    bool told_ = false;
};

} // namespace mr3x::collect
