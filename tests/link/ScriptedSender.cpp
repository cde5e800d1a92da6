#include "ScriptedSender.h"

namespace mr3x::test {

ScriptedSender::ScriptedSender(FakeLine& line, Bytes file, std::string name, std::size_t blockSize)
    : line_(line)
    , file_(std::move(file))
    , name_(std::move(name))
    , blocks_(dataFrames(file_, blockSize))
{
    line_.farEnd = [this](const QByteArray& bytes) {
        for (const char c : bytes)
            take(static_cast<std::uint8_t>(c));
    };
}

void ScriptedSender::take(std::uint8_t byte)
{
    const bool cancelled = byte == ymodem::CAN && lastWasCan_;
    lastWasCan_ = byte == ymodem::CAN;
    if (cancelled) {
        phase_ = Phase::Cancelled;
        return;
    }
    const bool c = byte == ymodem::CRC_REQUEST;
    const bool ack = byte == ymodem::ACK;
    const bool nak = byte == ymodem::NAK;
    switch (phase_) {
    case Phase::WaitStart:
        if (c)
            send(Kind::Header);
        break;
    case Phase::WaitHeaderAck:
        if (ack)
            phase_ = Phase::WaitDataStart;
        else if (c || nak)
            send(Kind::Header);
        break;
    case Phase::WaitDataStart:
        if (c) {
            block_ = 0;
            send(blocks_.empty() ? Kind::Eot : Kind::Data, 0);
        }
        break;
    case Phase::WaitBlockAck:
        if (ack) {
            ++block_;
            send(block_ < blocks_.size() ? Kind::Data : Kind::Eot, block_);
        } else if (nak) {
            send(Kind::Data, block_);
        }
        break;
    case Phase::WaitEotAnswer:
        if (nak)
            send(Kind::Eot);
        else if (ack)
            phase_ = Phase::WaitFinalStart;
        break;
    case Phase::WaitFinalStart:
        if (c)
            send(Kind::EndOfBatch);
        break;
    case Phase::WaitFinalAck:
        if (ack)
            phase_ = Phase::Done;
        else if (c || nak)
            send(Kind::EndOfBatch);
        break;
    case Phase::Done:
    case Phase::Cancelled:
        break;
    }
}

void ScriptedSender::send(Kind kind, std::size_t index)
{
    Bytes frame;
    switch (kind) {
    case Kind::Header:
        frame = header(name_, announced ? announced : std::optional<std::uint64_t>(file_.size()), " 0 100644", 'p');
        phase_ = Phase::WaitHeaderAck;
        break;
    case Kind::Data:
        frame = blocks_[index];
        phase_ = Phase::WaitBlockAck;
        break;
    case Kind::Eot:
        frame = {ymodem::EOT};
        phase_ = Phase::WaitEotAnswer;
        break;
    case Kind::EndOfBatch:
        frame = endOfBatch();
        phase_ = Phase::WaitFinalAck;
        break;
    }
    attempt_ = kind == lastKind_ && index == lastIndex_ ? attempt_ + 1 : 1;
    lastKind_ = kind;
    lastIndex_ = index;
    if (fault)
        frame = fault(Frame{kind, index, attempt_}, std::move(frame));
    if (frame.empty())
        return;
    ++framesSent;
    line_.deliver(QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(frame.size())), delayMs);
}

} // namespace mr3x::test
