#include "collect/StopRequest.h"

#include <csignal>

namespace mr3x::collect {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int)
{
    stopSignal = 1;
}

} // namespace

StopRequest::StopRequest(std::function<void()> onStop)
    : onStop_(std::move(onStop))
{
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
    poll_.setInterval(100);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (stopSignal != 0 && !told_) {
            told_ = true;
            onStop_();
        }
    });
    poll_.start();
}

StopRequest::~StopRequest()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

bool StopRequest::requested() const
{
    return stopSignal != 0;
}

} // namespace mr3x::collect
