#include "support/LatencyProxy.h"

#include <algorithm>

namespace mr3x::test {

namespace {

/// A socket may be on the call stack (its own signal): the event loop deletes it.
void discard(std::unique_ptr<QTcpSocket>& socket)
{
    if (!socket)
        return;
    socket->disconnect();
    socket->abort();
    socket.release()->deleteLater();
}

} // namespace

LatencyProxy::LatencyProxy(QString unitHost, quint16 unitPort, LinkDelay delay)
    : unitHost_(std::move(unitHost))
    , unitPort_(unitPort)
    , delay_(delay)
    , random_(delay.seed)
{
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, qOverload<>(&LatencyProxy::deliver));
    connect(&server_, &QTcpServer::newConnection, this, &LatencyProxy::onConnection);
}

LatencyProxy::~LatencyProxy()
{
    discard(program_);
    discard(unit_);
}

bool LatencyProxy::listen()
{
    return server_.listen(QHostAddress::LocalHost, 0);
}

QString LatencyProxy::portName(const QString& scheme) const
{
    return scheme + QStringLiteral("://127.0.0.1:") + QString::number(server_.serverPort());
}

void LatencyProxy::cutAfter(qint64 bytes)
{
    cutRemaining_ = std::max<qint64>(bytes, 0);
}

std::int64_t LatencyProxy::delayMs()
{
    const int jitter = std::max(delay_.jitterMs, 0);
    return delay_.oneWayMs + std::uniform_int_distribution<int>(-jitter, jitter)(random_);
}

void LatencyProxy::onConnection()
{
    while (QTcpSocket* next = server_.nextPendingConnection()) {
        // A client that comes while the last one's link is open takes it over: the last one has
        // gone, and its going has not been heard yet.
        if (program_)
            endLink();
        program_.reset(next);
        program_->setParent(nullptr);
        unit_ = std::make_unique<QTcpSocket>();
        up_ = {program_.get(), unit_.get(), {}, 0, false};
        down_ = {unit_.get(), program_.get(), {}, 0, false};
        heardUnit_ = false;
        for (Way* way : {&up_, &down_}) {
            connect(way->from, &QTcpSocket::readyRead, this, [this, way] { take(*way); });
            connect(way->from, &QTcpSocket::disconnected, this, [this, way] {
                take(*way);
                way->sourceGone = true;
                deliver();
            });
        }
        connect(unit_.get(), &QTcpSocket::connected, this, qOverload<>(&LatencyProxy::deliver));
        connect(unit_.get(), &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
            if (unit_->state() != QAbstractSocket::ConnectedState)
                endLink(); // the unit's port is not there: neither is the link
        });
        unit_->connectToHost(unitHost_, unitPort_);
    }
}

void LatencyProxy::take(Way& way)
{
    if (cutDue_) // the unit's later bytes are lost with the link
        return;
    QByteArray bytes = way.from->readAll();
    if (bytes.isEmpty())
        return;
    if (&way == &down_) {
        heardUnit_ = true;
        if (cutRemaining_ >= 0) {
            bytes.truncate(std::min<qint64>(bytes.size(), cutRemaining_));
            cutRemaining_ -= bytes.size();
            cutDue_ = cutRemaining_ == 0;
        }
    } else if (heardUnit_) {
        ++turns_;
        heardUnit_ = false;
    }
    const std::int64_t now = elapsed_.elapsed();
    way.lastDueMs = std::max(way.lastDueMs, now + delayMs());
    way.held.push_back({way.lastDueMs, bytes});
    deliver();
}

void LatencyProxy::deliver()
{
    const std::int64_t now = elapsed_.elapsed();
    deliver(up_, now);
    deliver(down_, now);
    if (!program_)
        return;
    std::int64_t next = -1;
    // A way whose far side is still connecting goes on when it connects, not on the timer.
    for (const Way* way : {&up_, &down_})
        if (!way->held.empty() && way->to->state() == QAbstractSocket::ConnectedState)
            next = next < 0 ? way->held.front().dueMs : std::min(next, way->held.front().dueMs);
    if (next >= 0)
        timer_.start(static_cast<int>(std::max<std::int64_t>(next - now, 0)));
}

void LatencyProxy::deliver(Way& way, std::int64_t now)
{
    if (!program_ || way.to->state() != QAbstractSocket::ConnectedState)
        return;
    while (!way.held.empty() && way.held.front().dueMs <= now) {
        way.to->write(way.held.front().bytes);
        way.held.pop_front();
    }
    if (!way.held.empty())
        return;
    if (cutDue_ && &way == &down_) {
        cut_ = true;
        endLink();
    } else if (way.sourceGone) {
        endLink();
    }
}

void LatencyProxy::endLink()
{
    timer_.stop();
    up_ = {};
    down_ = {};
    cutDue_ = false;
    cutRemaining_ = -1;
    // Closed gracefully: what either side was handed still arrives, then the connection ends.
    for (std::unique_ptr<QTcpSocket>* owner : {&program_, &unit_}) {
        if (!*owner)
            continue;
        QTcpSocket* socket = owner->release();
        socket->disconnect(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
    }
}

} // namespace mr3x::test
