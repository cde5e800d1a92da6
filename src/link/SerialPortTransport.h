#pragma once
// The transport over a real serial port or pty (QSerialPort).
#include "link/Transport.h"

namespace mr3x {

/// The device a port name stands for: "COMn" is itself on Windows and /dev/ttyS(n-1) on POSIX;
/// a device path is used as it is.
QString deviceForPortName(const QString& portName);

/// A transport over the named serial port; it is opened by open().
std::unique_ptr<Transport> openSerialPort(const QString& portName);

} // namespace mr3x
