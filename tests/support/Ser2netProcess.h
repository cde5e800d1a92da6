#pragma once
// Debian's ser2net in front of serial devices (the simulated units' ptys), as a serial device
// server offers units on the network: a "telnet(rfc2217)" accepter for one device and a raw "tcp"
// accepter for another, on loopback ports, from a YAML configuration in a folder of the caller's.
// (Two accepters of one device would take turns: for a moment after one connection ends, ser2net
// answers the other "Port's device already in use".) Ended (SIGTERM, then kill) when the object
// goes.
#include <QProcess>
#include <QString>

namespace mr3x::test {

class Ser2netProcess {
public:
    /// ser2net's path; empty when it is not installed.
    static QString program();

    /// Without a raw device, only the telnet accepter.
    /// `charDelay` false turns off ser2net's wait for more characters before it sends what the
    /// device gave it (on by default: fewer, fuller packets).
    Ser2netProcess(const QString& telnetDevice, const QString& rawDevice, const QString& configFolder,
                   bool charDelay = true);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    /// Why the server is not serving ("" once both accepters listen).
    const QString& error() const { return error_; }
    /// "rfc2217://127.0.0.1:PORT" and "socket://127.0.0.1:PORT".
    QString rfc2217Port() const;
    QString rawPort() const;

private:
    bool waitUntilListening(quint16 port);

    QProcess process_;
    quint16 telnetPort_ = 0;
    quint16 rawPort_ = 0;
    QString error_;
};

} // namespace mr3x::test
