#include "sim/YmodemSender.h"

#include "link/ymodem/Crc16.h"

#include <algorithm>
#include <cstdio>

namespace mr3x::sim {

using namespace mr3x::ymodem;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::size_t kSmallBlock = 128;
constexpr std::size_t kLargeBlock = 1024;
constexpr std::uint8_t kDataPad = 0x1A;  // what fills the last data block (CP/M end of file)
constexpr std::size_t kFrameHead = 3;    // SOH/STX, number, its complement

Bytes block(std::uint8_t number, const std::uint8_t* data, std::size_t length, std::size_t size,
            std::uint8_t pad)
{
    Bytes frame;
    frame.reserve(kFrameHead + size + 2);
    frame.push_back(size == kLargeBlock ? STX : SOH);
    frame.push_back(number);
    frame.push_back(static_cast<std::uint8_t>(0xFF - number));
    frame.insert(frame.end(), data, data + length);
    frame.resize(kFrameHead + size, pad);
    const std::uint16_t crc = crc16(std::span<const std::uint8_t>(frame.data() + kFrameHead, size));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

} // namespace

Bytes YmodemSender::headerBlock(const std::string& name, std::size_t length, std::int64_t modifiedSeconds)
{
    char fields[64];
    std::snprintf(fields, sizeof fields, "%zu %llo", length,
                  static_cast<unsigned long long>(std::max<std::int64_t>(modifiedSeconds, 0)));
    Bytes content(name.begin(), name.end());
    content.push_back(0);
    content.insert(content.end(), fields, fields + std::char_traits<char>::length(fields));
    const std::size_t size = content.size() + 1 <= kSmallBlock ? kSmallBlock : kLargeBlock;
    content.resize(std::min(content.size(), size));
    return block(0, content.data(), content.size(), size, 0);
}

std::vector<Bytes> YmodemSender::dataBlocks(const Bytes& data)
{
    std::vector<Bytes> blocks;
    std::size_t at = 0;
    std::uint8_t number = 1;
    while (at < data.size()) {
        const std::size_t left = data.size() - at;
        // A tail of up to seven small blocks is shorter on the wire than one large block.
        const std::size_t size = left > 7 * kSmallBlock ? kLargeBlock : kSmallBlock;
        const std::size_t take = std::min(left, size);
        blocks.push_back(block(number++, data.data() + at, take, size, kDataPad));
        at += take;
    }
    return blocks;
}

Bytes YmodemSender::closingBlock()
{
    return block(0, nullptr, 0, kSmallBlock, 0);
}

void YmodemSender::offer(const std::string& name, Bytes data, std::int64_t modifiedSeconds, Micros now,
                         const TransferFaults& faults)
{
    frames_.clear();
    frames_.push_back(headerBlock(name, data.size(), modifiedSeconds));
    for (Bytes& frame : dataBlocks(data))
        frames_.push_back(std::move(frame));
    frames_.push_back(closingBlock());

    faults_ = faults;
    state_ = State::Offering;
    step_ = Step::WaitStartC;
    current_ = 0;
    headerSent_ = closeSent_ = false;
    retries_ = resends_ = 0;
    offeredAt_ = lastReceived_ = lastEvent_ = now;
    lastSentEnd_ = line_.freeAt();
    lastWasCan_ = false;
    lastFrameSent_ = -1;
    bytesSent_ = 0;
    stallUsed_ = false;
    corruptLeft_ = faults.corruptTimes;
    dropLeft_ = faults.dropTimes;
    lineLostAt_.reset();
    remainder_.reset();
}

void YmodemSender::abandon()
{
    if (state_ == State::Offering)
        state_ = State::Abandoned;
}

void YmodemSender::stop()
{
    if (busy())
        state_ = State::Abandoned;
    remainder_.reset();
    lineLostAt_.reset();
}

void YmodemSender::receive(std::uint8_t byte, Micros at)
{
    advance(at);
    if (!busy())
        return;
    lastReceived_ = lastEvent_ = std::max(at, lastEvent_);
    // CAN CAN from the receiver ends the transfer whatever the sender is doing.
    if (byte == CAN) {
        if (lastWasCan_) {
            state_ = State::Failed;
            remainder_.reset();
        }
        lastWasCan_ = true;
        return;
    }
    lastWasCan_ = false;
    if (state_ == State::Stalled)
        return;
    if (remainder_ && (byte == ACK || byte == NAK || byte == CRC_REQUEST))
        remainder_.reset();  // the receiver gave up on the stalled block: send it whole again
    onAnswer(byte);
}

void YmodemSender::onAnswer(std::uint8_t byte)
{
    const Micros at = lastReceived_;
    switch (step_) {
    case Step::WaitStartC:
        if (byte == CRC_REQUEST) {
            state_ = State::Sending;
            step_ = Step::QuietBeforeHeader;
        }
        break;
    case Step::QuietBeforeHeader:
        // An ACK here answers the header already sent; the 'C' that made us wait crossed it.
        if (byte == ACK && headerSent_)
            afterAck(at);
        break;
    case Step::WaitHeaderAck:
        if (byte == ACK)
            afterAck(at);
        else if (byte == NAK || byte == CRC_REQUEST)
            retry(at, Step::QuietBeforeHeader);
        break;
    case Step::WaitDataC:
        if (byte == CRC_REQUEST || byte == NAK) {
            current_ = 1;
            sendFrame(current_, at);
        }
        break;
    case Step::WaitDataAck:
        if (byte == ACK)
            afterAck(at);
        else if (byte == NAK || (byte == CRC_REQUEST && current_ == 1))
            retry(at, Step::WaitDataAck);
        break;
    case Step::WaitEotAnswer:
        if (byte == ACK) {
            retries_ = 0;
            step_ = Step::WaitCloseC;
        } else if (byte == NAK) {
            retry(at, Step::WaitEotAnswer);
        }
        break;
    case Step::WaitCloseC:
        if (byte == CRC_REQUEST || byte == NAK)
            step_ = Step::QuietBeforeClose;
        break;
    case Step::QuietBeforeClose:
        if (byte == ACK && closeSent_)
            state_ = State::Done;
        break;
    case Step::WaitCloseAck:
        if (byte == ACK)
            state_ = State::Done;
        else if (byte == NAK || byte == CRC_REQUEST)
            retry(at, Step::QuietBeforeClose);
        break;
    }
}

void YmodemSender::afterAck(Micros at)
{
    retries_ = 0;
    const int closing = static_cast<int>(frames_.size()) - 1;
    if (current_ == 0) {
        if (closing == 1) {
            sendEot(at);  // an empty file has no data blocks
        } else {
            step_ = Step::WaitDataC;
        }
        return;
    }
    if (current_ + 1 < closing) {
        ++current_;
        sendFrame(current_, at);
    } else {
        sendEot(at);
    }
}

void YmodemSender::retry(Micros at, Step resendStep)
{
    if (++retries_ > timing_.maxRetries) {
        giveUp(at);
        return;
    }
    switch (resendStep) {
    case Step::QuietBeforeHeader:
    case Step::QuietBeforeClose:
        step_ = resendStep;  // sent again once the line is quiet
        break;
    case Step::WaitEotAnswer:
        sendEot(at);
        break;
    default:
        sendFrame(current_, at);
        break;
    }
}

void YmodemSender::giveUp(Micros at)
{
    remainder_.reset();
    put({CAN, CAN}, at);
    state_ = State::Failed;
}

void YmodemSender::sendEot(Micros at)
{
    lastFrameSent_ = kEotFrame;
    step_ = Step::WaitEotAnswer;
    put({EOT}, at);
}

Bytes YmodemSender::framed(int index)
{
    Bytes frame = frames_[static_cast<std::size_t>(index)];
    // The faults hit the header and data blocks from their first block on, never the closing block.
    const bool closing = index + 1 == static_cast<int>(frames_.size());
    if (corruptLeft_ > 0 && !closing && index >= faults_.corruptFromBlock) {
        --corruptLeft_;
        frame[kFrameHead + 10] ^= 0x55;
    }
    if (dropLeft_ > 0 && !closing && index >= faults_.dropFromBlock) {
        --dropLeft_;
        const auto count = static_cast<std::ptrdiff_t>(
            std::min<std::size_t>(static_cast<std::size_t>(std::max(faults_.dropCount, 1)), frame.size() / 2));
        const auto middle = frame.begin() + static_cast<std::ptrdiff_t>(frame.size() / 2);
        frame.erase(middle, middle + count);
    }
    return frame;
}

void YmodemSender::sendFrame(int index, Micros at)
{
    const int closing = static_cast<int>(frames_.size()) - 1;
    if (index < closing && index == faults_.abortAtBlock) {
        giveUp(at);
        return;
    }
    current_ = index;
    if (lastFrameSent_ == index)
        ++resends_;
    lastFrameSent_ = index;
    if (index == 0) {
        headerSent_ = true;
        step_ = Step::WaitHeaderAck;
    } else if (index == closing) {
        closeSent_ = true;
        step_ = Step::WaitCloseAck;
    } else {
        step_ = Step::WaitDataAck;
    }
    put(framed(index), at);
}

void YmodemSender::put(Bytes bytes, Micros at)
{
    const auto size = static_cast<std::int64_t>(bytes.size());
    // A pulled cable: only the bytes before the cut leave.
    if (faults_.disconnectAfterBytes >= 0 && !lineLostAt_ && bytesSent_ + size > faults_.disconnectAfterBytes) {
        bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(faults_.disconnectAfterBytes - bytesSent_, 0)));
        lastSentEnd_ = line_.send(bytes, at);
        bytesSent_ += static_cast<std::int64_t>(bytes.size());
        lineLostAt_ = lastSentEnd_;
        state_ = State::Failed;
        return;
    }
    if (faults_.stallAfterBytes >= 0 && !stallUsed_ && bytesSent_ + size > faults_.stallAfterBytes) {
        stallUsed_ = true;
        const auto head = static_cast<std::size_t>(std::max<std::int64_t>(faults_.stallAfterBytes - bytesSent_, 0));
        Bytes rest(bytes.begin() + static_cast<std::ptrdiff_t>(head), bytes.end());
        bytes.resize(head);
        lastSentEnd_ = line_.send(bytes, at);
        bytesSent_ += static_cast<std::int64_t>(head);
        if (faults_.stallMs < 0) {
            state_ = State::Stalled;
            stalledAt_ = lastSentEnd_;
        } else {
            remainder_.emplace(lastSentEnd_ + faults_.stallMs * 1000, std::move(rest));
        }
        return;
    }
    lastSentEnd_ = line_.send(bytes, at);
    bytesSent_ += size;
}

Micros YmodemSender::quietFrom() const
{
    return std::max(lastReceived_, lastSentEnd_) + timing_.quiet;
}

std::optional<Micros> YmodemSender::stepDeadline() const
{
    switch (step_) {
    case Step::WaitStartC:
        return offeredAt_ + timing_.offer;
    case Step::QuietBeforeHeader:
    case Step::QuietBeforeClose:
        return quietFrom();
    default:
        return lastSentEnd_ + timing_.reply;
    }
}

std::optional<Micros> YmodemSender::nextDeadline() const
{
    if (!busy())
        return std::nullopt;
    if (state_ == State::Stalled)
        return stalledAt_ + timing_.stalledGiveUp;
    if (remainder_)
        return remainder_->first;
    return stepDeadline();
}

void YmodemSender::advance(Micros now)
{
    for (auto due = nextDeadline(); due && *due <= now; due = nextDeadline())
        fire(std::max(*due, lastEvent_));
}

void YmodemSender::fire(Micros at)
{
    lastEvent_ = at;
    if (state_ == State::Stalled) {
        state_ = State::Failed;
        return;
    }
    if (remainder_) {
        auto [when, rest] = std::move(*remainder_);
        remainder_.reset();
        put(std::move(rest), when);
        return;
    }
    switch (step_) {
    case Step::WaitStartC:
        state_ = State::Abandoned;
        break;
    case Step::QuietBeforeHeader:
        sendFrame(0, at);
        break;
    case Step::QuietBeforeClose:
        sendFrame(static_cast<int>(frames_.size()) - 1, at);
        break;
    case Step::WaitHeaderAck:
        retry(at, Step::QuietBeforeHeader);
        break;
    case Step::WaitDataC:
        // No 'C' for the data: some receivers never send it. Go on after counting a retry.
        if (++retries_ > timing_.maxRetries) {
            giveUp(at);
        } else {
            current_ = 1;
            sendFrame(current_, at);
        }
        break;
    case Step::WaitDataAck:
        retry(at, Step::WaitDataAck);
        break;
    case Step::WaitEotAnswer:
        retry(at, Step::WaitEotAnswer);
        break;
    case Step::WaitCloseC:
        state_ = State::Done;  // the file is delivered; a receiver may not ask for the closing block
        break;
    case Step::WaitCloseAck:
        if (++retries_ > timing_.maxRetries) {
            state_ = State::Done;  // the file itself was delivered
        } else {
            step_ = Step::QuietBeforeClose;
        }
        break;
    }
}

} // namespace mr3x::sim
