#pragma once
// How the program ends. A fatal set-up failure or "Exit" asks for the end here. The window's own
// work at the end runs first (it closes the link and ends every wait, so a routine that waits on
// the unit runs no further); then the end is handed on: the program ends its event loop, while
// a test reads `ended()` instead of losing its process.
#include <functional>
#include <map>

namespace mr3x {

class Lifetime {
public:
    explicit Lifetime(std::function<void(int)> onEnd = {}) : onEnd_(std::move(onEnd)) {}

    /// Work to do the moment the program ends, before the end is handed on; returns an id for
    /// removeAtEnd.
    int atEnd(std::function<void()> action)
    {
        const int id = nextId_++;
        atEnd_.emplace(id, std::move(action));
        return id;
    }
    void removeAtEnd(int id) { atEnd_.erase(id); }

    void end(int exitCode = 0)
    {
        if (ended_)
            return;
        ended_ = true;
        exitCode_ = exitCode;
        for (auto& [id, action] : atEnd_)
            action();
        if (onEnd_)
            onEnd_(exitCode);
    }
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }

private:
    std::function<void(int)> onEnd_;
    std::map<int, std::function<void()>> atEnd_;
    int nextId_ = 1;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace mr3x
