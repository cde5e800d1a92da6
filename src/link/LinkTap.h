#pragma once
// A listener on everything that passes the serial control: the bytes it puts on the line for
// the program and the user, the bytes it reads that no reception takes, and what happens to each
// file transfer's blocks (a reception's own bytes are told by those, not dumped). The link log
// and the terminal's Hex view listen here. A listener must not call back into the control.
#include "link/ymodem/TransferEvent.h"

#include <QByteArray>

namespace mr3x {

class LinkTap {
public:
    virtual ~LinkTap() = default;
    virtual void linkSent(const QByteArray& bytes) = 0;
    virtual void linkReceived(const QByteArray& bytes) = 0;
    virtual void linkTransfer(const ymodem::TransferEvent& event) = 0;
};

} // namespace mr3x
