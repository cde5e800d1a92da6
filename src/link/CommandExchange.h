#pragma once
// The command exchange with the unit: the busy check, SEND_COMMAND and RECEIVE_FILE.
namespace mr3x {

class frmMaster;

class CommandExchange {
public:
    explicit CommandExchange(frmMaster& window) : w(window) {}

private:
    [[maybe_unused]] frmMaster& w;
};

} // namespace mr3x
