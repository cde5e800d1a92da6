#pragma once
// How the program ends. A fatal set-up failure asks for the end here; the window ends the
// event loop, while a test reads `ended()` instead of losing its process.
#include <functional>

namespace mr3x {

class Lifetime {
public:
    explicit Lifetime(std::function<void(int)> onEnd = {}) : onEnd_(std::move(onEnd)) {}

    void end(int exitCode = 0)
    {
        if (ended_)
            return;
        ended_ = true;
        exitCode_ = exitCode;
        if (onEnd_)
            onEnd_(exitCode);
    }
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }

private:
    std::function<void(int)> onEnd_;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace mr3x
