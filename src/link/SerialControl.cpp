#include "link/SerialControl.h"

#include "common/Text.h"
#include "link/FileReception.h"

#include <QDir>
#include <QScopedValueRollback>
#include <QSerialPortInfo>

#include <algorithm>

namespace mr3x {

namespace {

constexpr int waitStepMs = 10;
// The screen, the input buffer and the reply text keep this much of the newest text, so a unit
// that talks while nobody reads cannot fill the memory.
constexpr qsizetype keptText = 64 * 1024;

template <typename Text>
void keepNewest(Text& text)
{
    if (text.size() > keptText)
        text.remove(0, text.size() - keptText);
}

} // namespace

SerialControl::SerialControl(Clock& clock, TransportOpener opener, QObject* parent)
    : QObject(parent)
    , clock_(clock)
    , opener_(std::move(opener))
{
    tick_.setInterval(50);
    connect(&tick_, &QTimer::timeout, this, &SerialControl::service);
    pumpId_ = clock_.addPump([this] { service(); });
}

SerialControl::~SerialControl()
{
    clock_.removePump(pumpId_);
    if (reception_)
        reception_.reset();
    if (transport_)
        transport_->close();
}

// --- The port ---------------------------------------------------------------------------------

void SerialControl::setPortName(const QString& name)
{
    portName_ = name;
}

void SerialControl::setSettings(const QString& settings)
{
    settings_ = settings;
}

void SerialControl::setPortOpen(bool open)
{
    // An open port stays open: closing it drops the line of a USB or Bluetooth adapter, and what
    // the unit sends meanwhile would be lost. Only another port or line speed opens it anew.
    if (open && PortOpen() && portName_ == openedName_ && settings_ == openedSettings_)
        return;
    closePort();
    if (open)
        openPort();
}

void SerialControl::shutDown()
{
    shutDown_ = true;
    if (capture_) {
        // Until its routine closes it, a capture holds only part of what the unit sends.
        capture_->close();
        capture_->remove();
        capture_.reset();
        captureFile_.clear();
    }
    closePort();
    waitPending_ = false;
}

bool SerialControl::PortOpen() const
{
    return transport_ && transport_->isOpen();
}

QString SerialControl::PortStatus() const
{
    return PortOpen() ? transport_->status() : lastStatus_;
}

QString SerialControl::PortFailure() const
{
    return PortOpen() ? QString() : lastFailure_;
}

int SerialControl::LinkAllowance() const
{
    if (linkAllowanceSet_)
        return std::max(*linkAllowanceSet_, 0);
    return PortOpen() ? transport_->linkAllowanceMs() : 0;
}

QStringList SerialControl::DeviceList() const
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        names << info.portName();
#else
        names << info.systemLocation();
#endif
    }
    return names + extraDevices_;
}

void SerialControl::openPort()
{
    lastFailure_.clear();
    if (shutDown_)
        return;
    const auto line = LineSettings::parse(settings_);
    if (!line) {
        lastStatus_ = QStringLiteral("Invalid port settings ") + settings_;
        return;
    }
    // The old transport may still be on the call stack (a handler of its own signal): let the
    // event loop delete it.
    if (transport_)
        transport_.release()->deleteLater();
    transport_ = opener_(portName_);
    if (!transport_->open(*line)) {
        lastStatus_ = transport_->status();
        lastFailure_ = transport_->failureReason();
        return;
    }
    openedName_ = portName_;
    openedSettings_ = settings_;
    connect(transport_.get(), &Transport::readyRead, this, &SerialControl::service);
    connect(transport_.get(), &Transport::lost, this, &SerialControl::onLost);
    lastStatus_ = transport_->status();
    tick_.start();
}

void SerialControl::closePort()
{
    if (reception_)
        failReception(QStringLiteral("the port was closed"));
    else
        transferState_ = 0;
    tick_.stop();
    if (transport_) {
        disconnect(transport_.get(), nullptr, this, nullptr);
        transport_->close();
        lastStatus_ = portstatus::Closed;
    }
}

void SerialControl::onLost()
{
    lastStatus_ = transport_ ? transport_->status() : portstatus::Canceled;
    tick_.stop();
    if (reception_)
        failReception(QStringLiteral("the port went away"));
}

// --- Commands and replies -----------------------------------------------------------------------

void SerialControl::Send(const QByteArray& bytes)
{
    if (!reception_)
        transferState_ = 0;
    timedOut_ = 0;
    waitPending_ = waitTimeoutMs_ > 0;
    if (waitPending_) {
        replyText_.clear();
        waitStartMs_ = clock_.nowMs();
    }
    if (bytes.isEmpty() || !PortOpen())
        return;
    writeRaw(bytes);
    tapSent(bytes);
    if (echo_)
        showOnScreen(bytes);
}

void SerialControl::setReplyPatterns(const QString& patterns)
{
    patternsText_ = patterns;
    patterns_ = separator_.isEmpty() ? QStringList{patterns} : patterns.split(separator_, Qt::SkipEmptyParts);
    patterns_.removeAll(QString());
}

void SerialControl::setPatternSeparator(const QString& separator)
{
    separator_ = separator;
    setReplyPatterns(patternsText_);
}

void SerialControl::setWaitTimeout(int ms)
{
    waitTimeoutMs_ = std::max(ms, 0);
    if (waitTimeoutMs_ == 0 && waitPending_)
        endWait(1);
}

int SerialControl::TimedOut()
{
    if (!waitPending_)
        return timedOut_;
    QScopedValueRollback busy(completingWait_, true);
    while (waitPending_) {
        service();
        if (!waitPending_)
            break;
        // Over a network the unit's answer comes later by the link's round trip: the bound
        // grows by the allowance, and stays a bound.
        const std::int64_t bound = std::int64_t{waitTimeoutMs_} + LinkAllowance();
        const std::int64_t waited = clock_.nowMs() - waitStartMs_;
        if (!PortOpen() || waited >= bound) {
            endWait(1);
            break;
        }
        clock_.idle(static_cast<int>(std::min<std::int64_t>(waitStepMs, bound - waited)));
    }
    return timedOut_;
}

void SerialControl::endWait(int timedOut)
{
    waitPending_ = false;
    timedOut_ = timedOut;
}

void SerialControl::matchReply(const QByteArray& bytes)
{
    if (!waitPending_)
        return;
    const qsizetype before = replyText_.size();
    replyText_ += QString::fromLatin1(bytes);
    for (const QString& pattern : patterns_) {
        // A pattern may have begun in an earlier read: look back as far as it is long.
        const qsizetype from = std::max<qsizetype>(0, before - pattern.size() + 1);
        const qsizetype at = replyText_.indexOf(pattern, from);
        if (at >= 0) {
            replyText_.truncate(at + pattern.size());
            endWait(0);
            return;
        }
    }
    keepNewest(replyText_);
}

void SerialControl::setPause(int ms)
{
    clock_.pause(ms);
}

int SerialControl::InCount()
{
    service();
    return static_cast<int>(inBuffer_.size());
}

void SerialControl::setInCount(int count)
{
    if (count != 0)
        return;
    service();
    inBuffer_.clear();
}

QString SerialControl::Input()
{
    service();
    const QString text = QString::fromLatin1(inBuffer_);
    inBuffer_.clear();
    return text;
}

void SerialControl::setCaptureFile(const QString& path)
{
    if (capture_ && path == captureFile_)
        return; // already capturing there: starting afresh would lose what came so far
    if (capture_) {
        capture_->close();
        capture_.reset();
    }
    captureFile_ = path;
    if (path.isEmpty() || shutDown_)
        return;
    // A capture starts a fresh file: text left from an earlier capture must not be read as
    // part of this one.
    capture_ = std::make_unique<QFile>(path);
    if (!capture_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning("Cannot capture into %s: %s", qPrintable(path), qPrintable(capture_->errorString()));
        capture_.reset();
    }
}

// --- Terminal screen ----------------------------------------------------------------------------

void SerialControl::setTerminalActive(bool on)
{
    terminalActive_ = on;
}

void SerialControl::setScreenText(const QString& text)
{
    if (text == screenText_)
        return;
    screenText_ = text;
    screenAfterCr_ = false;
    emit ScreenChanged();
}

void SerialControl::typeText(const QString& text)
{
    if (!terminalActive_) {
        pendingText_ += text;
        return;
    }
    const QByteArray bytes = text.toLatin1();
    if (!PortOpen())
        return;
    writeRaw(bytes);
    tapSent(bytes);
    if (echo_)
        showOnScreen(bytes);
}

void SerialControl::setTickInterval(int ms)
{
    tick_.setInterval(std::max(ms, 1));
}

void SerialControl::showOnScreen(const QByteArray& bytes)
{
    // The screen shows lines: CR LF, a lone CR and a lone LF each end one; other control
    // characters are not shown.
    const qsizetype before = screenText_.size();
    for (const char c : bytes) {
        if (c == '\n' && screenAfterCr_) {
            screenAfterCr_ = false;
            continue;
        }
        screenAfterCr_ = c == '\r';
        if (c == '\r' || c == '\n')
            screenText_ += QLatin1Char('\n');
        else if (c == '\t' || static_cast<unsigned char>(c) >= 0x20)
            screenText_ += QLatin1Char(c);
    }
    if (screenText_.size() == before)
        return;
    keepNewest(screenText_);
    emit ScreenChanged();
}

// --- File reception ------------------------------------------------------------------------------

int SerialControl::TransferState() const
{
    return reception_ || completingWait_ ? 4 : transferState_;
}

void SerialControl::setReceiveFile(const QString& name)
{
    if (reception_)
        failReception(QStringLiteral("a new reception was started"));
    transferState_ = 0;
    bytesTransferred_ = 0;
    if (!PortOpen()) {
        transferState_ = -1;
        return;
    }
    if (receiveFolder_.isEmpty() || !isSafeName(name.toStdString())) {
        qWarning("Refused to receive a file named %s into %s", qPrintable(name), qPrintable(receiveFolder_));
        transferState_ = -1;
        return;
    }
    // The sender's blocks and characters come later by the link's round trip and its jitter.
    ymodem::ReceiverLimits limits;
    limits.blockStartMs += LinkAllowance();
    limits.characterMs += LinkAllowance();
    reception_ = std::make_unique<FileReception>(receiveFolder_, name, limits);
    if (!reception_->running()) {
        failReception(reception_->failure());
        return;
    }
    writeRaw(reception_->start(clock_.nowMs()));
    tapTransfer(*reception_);
}

QByteArray SerialControl::feedReception(const QByteArray& bytes)
{
    qsizetype consumed = 0;
    const QByteArray answer = bytes.isEmpty() ? reception_->tick(clock_.nowMs())
                                              : reception_->receive(bytes, clock_.nowMs(), consumed);
    writeRaw(answer);
    tapTransfer(*reception_);
    if (reception_->bytesReceived() != bytesTransferred_) {
        bytesTransferred_ = reception_->bytesReceived();
        emit Progress();
    }
    // A handler of the progress event may have closed the port, ending the reception already.
    if (reception_ && !reception_->running())
        endReception();
    return bytes.mid(consumed);
}

void SerialControl::endReception()
{
    const std::unique_ptr<FileReception> ended = std::move(reception_);
    tapTransfer(*ended);
    if (ended->state() == FileReception::State::Complete) {
        transferState_ = 0;
        return;
    }
    qWarning("File reception into %s failed: %s", qPrintable(ended->targetPath()), qPrintable(ended->failure()));
    transferState_ = -1;
    if (ended->state() == FileReception::State::Aborted)
        emit Abort();
}

void SerialControl::cancelReception(const QString& reason)
{
    if (reception_)
        failReception(reason);
}

void SerialControl::failReception(const QString& reason)
{
    writeRaw(reception_->cancel(reason));
    endReception();
}

// --- Reading the line ---------------------------------------------------------------------------

void SerialControl::service()
{
    // Handlers run from here (progress, abort) may come back into the control; what arrives
    // meanwhile is read once the outer pass is done.
    if (servicing_) {
        serviceAgain_ = true;
        return;
    }
    QScopedValueRollback guard(servicing_, true);
    do {
        serviceAgain_ = false;
        serviceOnce();
    } while (serviceAgain_);
}

void SerialControl::serviceOnce()
{
    if (!transport_)
        return;
    transport_->poll();
    QByteArray bytes = transport_->isOpen() ? transport_->readAll() : QByteArray();
    if (reception_)
        bytes = feedReception(bytes);
    if (!bytes.isEmpty())
        takeText(bytes);
}

void SerialControl::takeText(const QByteArray& bytes)
{
    for (LinkTap* tap : taps_)
        tap->linkReceived(bytes);
    matchReply(bytes);
    if (capture_) {
        capture_->write(bytes);
        capture_->flush();
    }
    inBuffer_ += bytes;
    keepNewest(inBuffer_);
    showOnScreen(bytes);
}

void SerialControl::addTap(LinkTap* tap)
{
    if (std::find(taps_.begin(), taps_.end(), tap) == taps_.end())
        taps_.push_back(tap);
}

void SerialControl::removeTap(LinkTap* tap)
{
    std::erase(taps_, tap);
}

void SerialControl::tapSent(const QByteArray& bytes)
{
    for (LinkTap* tap : taps_)
        tap->linkSent(bytes);
}

void SerialControl::tapTransfer(FileReception& reception)
{
    for (const ymodem::TransferEvent& event : reception.takeEvents())
        for (LinkTap* tap : taps_)
            tap->linkTransfer(event);
}

void SerialControl::writeRaw(const QByteArray& bytes)
{
    if (!bytes.isEmpty() && PortOpen())
        transport_->write(bytes);
}

} // namespace mr3x
