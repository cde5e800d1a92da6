#include "support/Ser2netProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <utility>

namespace mr3x::test {

namespace {

/// Two loopback ports free right now, held together so that they differ.
std::pair<quint16, quint16> freePorts()
{
    QTcpServer first, second;
    if (!first.listen(QHostAddress::LocalHost, 0) || !second.listen(QHostAddress::LocalHost, 0))
        return {0, 0};
    return {first.serverPort(), second.serverPort()};
}

QByteArray connection(const char* name, const QString& accepter, const QString& device, bool charDelay)
{
    return QStringLiteral("connection: &%1\n  accepter: %2\n  connector: serialdev,%3,115200n81,local\n"
                          "  options:\n    chardelay: %4\n")
        .arg(QString::fromLatin1(name), accepter, device, charDelay ? QStringLiteral("true") : QStringLiteral("false"))
        .toUtf8();
}

} // namespace

QString Ser2netProcess::program()
{
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

Ser2netProcess::Ser2netProcess(const QString& telnetDevice, const QString& rawDevice, const QString& configFolder,
                               bool charDelay)
{
    std::tie(telnetPort_, rawPort_) = freePorts();
    const QString config = configFolder + QStringLiteral("/ser2net.yaml");
    QFile file(config);
    if (telnetPort_ == 0 || !file.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("no free port or no configuration file");
        return;
    }
    file.write("%YAML 1.1\n---\n");
    file.write(connection("rfc2217", QStringLiteral("telnet(rfc2217),tcp,127.0.0.1,%1").arg(telnetPort_), telnetDevice, charDelay));
    if (!rawDevice.isEmpty())
        file.write(connection("raw", QStringLiteral("tcp,127.0.0.1,%1").arg(rawPort_), rawDevice, charDelay));
    file.close();

    // In the foreground (-n), without UUCP locks on the pty (-u).
    process_.setProgram(program());
    process_.setArguments({QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config});
    process_.start();
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("ser2net did not start: ") + process_.errorString();
        return;
    }
    if (!waitUntilListening(telnetPort_) || (!rawDevice.isEmpty() && !waitUntilListening(rawPort_)))
        error_ = QStringLiteral("ser2net is not listening: ") + QString::fromLocal8Bit(process_.readAllStandardError());
}

Ser2netProcess::~Ser2netProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000))
        process_.kill();
    process_.waitForFinished(1000);
}

QString Ser2netProcess::rfc2217Port() const
{
    return QStringLiteral("rfc2217://127.0.0.1:%1").arg(telnetPort_);
}

QString Ser2netProcess::rawPort() const
{
    return QStringLiteral("socket://127.0.0.1:%1").arg(rawPort_);
}

bool Ser2netProcess::waitUntilListening(quint16 port)
{
    // A port we cannot take is one ser2net holds; a probe that connected would make it open the
    // device before the test does.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, port))
            return true;
        probe.close();
        QThread::msleep(20);
    }
    return false;
}

} // namespace mr3x::test
