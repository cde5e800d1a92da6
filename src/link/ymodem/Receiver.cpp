#include "link/ymodem/Receiver.h"

#include "link/ymodem/Crc16.h"

#include <algorithm>

namespace mr3x::ymodem {

namespace {

constexpr std::size_t headerBytes = 3; // SOH/STX, number, its complement
constexpr std::size_t crcBytes = 2;

struct FileHeader {
    std::string name;
    std::optional<std::uint64_t> length; // nothing when no digits follow the name
    bool tooLong = false;                // more digits than any allowed length has
};

/// Block 0: the name, NUL, the decimal length, then optional fields after a blank. The rest of the
/// block is padding, which need not be zero. Nothing when the name has no NUL after it.
std::optional<FileHeader> readHeader(std::span<const std::uint8_t> payload, std::uint64_t maxLength)
{
    const auto nul = std::find(payload.begin(), payload.end(), std::uint8_t{0});
    if (nul == payload.end())
        return std::nullopt;
    FileHeader header;
    header.name.assign(payload.begin(), nul);
    std::uint64_t value = 0;
    bool any = false;
    for (auto it = nul + 1; it != payload.end() && *it >= '0' && *it <= '9'; ++it) {
        any = true;
        value = value * 10 + (*it - '0');
        if (value > maxLength) {
            header.tooLong = true;
            break;
        }
    }
    if (any)
        header.length = value;
    return header;
}

} // namespace

Receiver::Receiver(ReceiverLimits limits)
    : limits_(limits)
{
}

Bytes Receiver::start(std::int64_t nowMs)
{
    nowMs_ = nowMs;
    lastByteMs_ = nowMs;
    Bytes out;
    answer(out, {CRC_REQUEST});
    return out;
}

Bytes Receiver::receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs, std::size_t* consumed)
{
    nowMs_ = nowMs;
    Bytes out;
    std::size_t used = 0;
    while (used < bytes.size() && running())
        takeByte(bytes[used++], nowMs, out);
    if (consumed != nullptr)
        *consumed = used;
    if (running())
        checkTime(nowMs, out);
    return out;
}

Bytes Receiver::tick(std::int64_t nowMs)
{
    nowMs_ = nowMs;
    Bytes out;
    if (running())
        checkTime(nowMs, out);
    return out;
}

Bytes Receiver::cancel(const std::string& reason)
{
    Bytes out;
    if (running())
        giveUp(reason, out);
    return out;
}

Bytes Receiver::takeData()
{
    Bytes taken;
    taken.swap(data_);
    return taken;
}

std::vector<TransferEvent> Receiver::takeEvents()
{
    std::vector<TransferEvent> taken;
    taken.swap(events_);
    return taken;
}

void Receiver::takeByte(std::uint8_t byte, std::int64_t nowMs, Bytes& out)
{
    lastByteMs_ = nowMs;
    switch (reading_) {
    case Reading::BlockStart:
        takeBlockStart(byte, nowMs, out);
        break;
    case Reading::InBlock:
        block_.push_back(byte);
        if (block_.size() == blockTotal_)
            takeBlock(out);
        break;
    case Reading::Purging:
        break; // the rest of a bad block: dropped until the line is quiet
    }
}

void Receiver::takeBlockStart(std::uint8_t byte, std::int64_t nowMs, Bytes& out)
{
    const bool afterCan = canSeen_;
    canSeen_ = false;
    switch (byte) {
    case SOH:
    case STX:
        block_.assign(1, byte);
        blockTotal_ = headerBytes + (byte == SOH ? 128 : 1024) + crcBytes;
        reading_ = Reading::InBlock;
        return;
    case EOT:
        takeEot(out);
        return;
    case CAN:
        if (afterCan) {
            note(TransferEvent::Kind::Aborted);
            finish(Outcome::Aborted, "the sender cancelled the transfer");
        }
        else
            canSeen_ = true;
        return;
    default:
        purgeStartMs_ = nowMs;
        error("unexpected byte where a block should start", out);
        return;
    }
}

void Receiver::takeBlock(Bytes& out)
{
    const std::uint8_t number = block_[1];
    const std::span<const std::uint8_t> checked(block_.data() + headerBytes, block_.size() - headerBytes);
    const std::span<const std::uint8_t> payload = checked.first(checked.size() - crcBytes);
    reading_ = Reading::BlockStart;
    if (static_cast<std::uint8_t>(number ^ block_[2]) != 0xFF) {
        purgeStartMs_ = nowMs_;
        error("block number and its complement disagree", out, number);
        return;
    }
    if (crc16(checked) != 0) {
        purgeStartMs_ = nowMs_;
        error("CRC error", out, number);
        return;
    }
    switch (phase_) {
    case Phase::Header:
        if (number != 0)
            giveUp("the sender did not announce the file in block 0", out);
        else
            takeHeader(payload, out);
        return;
    case Phase::Data:
        takeDataBlock(number, payload, out);
        return;
    case Phase::EndOfBatch:
        // The file is whole. An empty block 0 closes the batch; anything else (a second file)
        // is not wanted, so the sender is stopped.
        if (number == 0 && payload[0] == 0) {
            answer(out, {ACK});
        } else {
            note(TransferEvent::Kind::Cancelled);
            out.push_back(CAN);
            out.push_back(CAN);
        }
        finish(Outcome::Complete);
        return;
    }
}

void Receiver::takeHeader(std::span<const std::uint8_t> payload, Bytes& out)
{
    const auto header = readHeader(payload, limits_.maxFileBytes);
    if (!header)
        return giveUp("block 0 holds no file name", out);
    if (header->name.empty()) {
        answer(out, {ACK});
        return finish(Outcome::Failed, "the sender had no file to send");
    }
    if (!header->length)
        return giveUp("the file's length was not announced", out);
    if (header->tooLong)
        return giveUp("the announced length is beyond any file the unit sends", out);
    name_ = header->name;
    length_ = header->length;
    phase_ = Phase::Data;
    errors_ = 0;
    note(TransferEvent::Kind::Announced, 0, 0, name_);
    answer(out, {ACK, CRC_REQUEST});
}

void Receiver::takeDataBlock(std::uint8_t number, std::span<const std::uint8_t> payload, Bytes& out)
{
    if (number == expected_) {
        const std::uint64_t remaining = *length_ - received_;
        if (remaining == 0)
            return giveUp("the sender sent more data than it announced", out);
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, payload.size()));
        data_.insert(data_.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(take));
        received_ += take;
        ++expected_;
        errors_ = 0;
        eotSeen_ = false;
        note(TransferEvent::Kind::Block, number, take);
        answer(out, {ACK});
        return;
    }
    // Our ACK of the previous block was lost: acknowledge the repeat and drop it. A repeated
    // block 0 before any data means the ACK of the header was lost. Repeats count as errors so
    // that a sender stuck on one block cannot hold the reception for ever.
    const bool repeatedHeader = number == 0 && expected_ == 1;
    if (number == static_cast<std::uint8_t>(expected_ - 1) || repeatedHeader) {
        note(TransferEvent::Kind::Repeated, number);
        if (++errors_ >= limits_.maxErrors)
            return giveUp("the sender keeps repeating a block", out);
        if (repeatedHeader)
            answer(out, {ACK, CRC_REQUEST});
        else
            answer(out, {ACK});
        return;
    }
    giveUp("a block arrived out of sequence", out);
}

void Receiver::takeEot(Bytes& out)
{
    switch (phase_) {
    case Phase::Header:
        error("end of file before any file was announced", out);
        return;
    case Phase::Data:
        // The first EOT is answered NAK: a line hit can fake one, a real sender repeats it.
        if (!eotSeen_) {
            eotSeen_ = true;
            answer(out, {NAK});
            return;
        }
        if (received_ < *length_) {
            answer(out, {ACK});
            return giveUp("the file ended before its announced length", out);
        }
        phase_ = Phase::EndOfBatch;
        errors_ = 0;
        note(TransferEvent::Kind::EndOfFile);
        answer(out, {ACK, CRC_REQUEST});
        return;
    case Phase::EndOfBatch:
        // Our ACK of the EOT was lost.
        if (++errors_ >= limits_.maxErrors)
            return finishWithoutBatchEnd(out);
        answer(out, {ACK, CRC_REQUEST});
        return;
    }
}

void Receiver::checkTime(std::int64_t nowMs, Bytes& out)
{
    switch (reading_) {
    case Reading::BlockStart:
        if (nowMs - lastAnswerMs_ >= limits_.blockStartMs) {
            if (phase_ == Phase::EndOfBatch)
                return finishWithoutBatchEnd(out);
            purgeStartMs_ = nowMs;
            error("no block arrived in time", out);
        }
        break;
    case Reading::InBlock:
        if (nowMs - lastByteMs_ >= limits_.characterMs) {
            purgeStartMs_ = nowMs;
            error("the block stopped in the middle", out);
        }
        break;
    case Reading::Purging:
        break;
    }
    if (running() && reading_ == Reading::Purging) {
        if (nowMs - lastByteMs_ >= limits_.quietMs) {
            reading_ = Reading::BlockStart;
            note(TransferEvent::Kind::Retry, -1, 0, retryByte() == NAK ? "NAK" : "C");
            answer(out, {retryByte()});
        } else if (nowMs - purgeStartMs_ >= limits_.blockStartMs) {
            giveUp("the line never went quiet", out);
        }
    }
}

void Receiver::finishWithoutBatchEnd(Bytes& out)
{
    // The file arrived whole and was acknowledged; only the closing block 0 is missing. The data
    // are kept, and the sender is told to stop.
    note(TransferEvent::Kind::Cancelled);
    out.push_back(CAN);
    out.push_back(CAN);
    finish(Outcome::Complete);
}

void Receiver::error(const std::string& reason, Bytes& out, int block)
{
    note(TransferEvent::Kind::BadBlock, block, 0, reason);
    if (++errors_ >= limits_.maxErrors)
        return giveUp(reason + ", " + std::to_string(errors_) + " errors in a row", out);
    block_.clear();
    reading_ = Reading::Purging;
}

void Receiver::giveUp(const std::string& reason, Bytes& out)
{
    if (phase_ == Phase::EndOfBatch)
        return finishWithoutBatchEnd(out);
    note(TransferEvent::Kind::Cancelled);
    out.push_back(CAN);
    out.push_back(CAN);
    finish(Outcome::Failed, reason);
}

void Receiver::answer(Bytes& out, std::initializer_list<std::uint8_t> bytes)
{
    out.insert(out.end(), bytes);
    lastAnswerMs_ = nowMs_;
}

void Receiver::finish(Outcome outcome, const std::string& reason)
{
    outcome_ = outcome;
    failure_ = reason;
    if (outcome != Outcome::Complete)
        data_.clear();
}

void Receiver::note(TransferEvent::Kind kind, int block, std::uint64_t bytes, std::string text)
{
    events_.push_back({kind, block, bytes, received_, length_.value_or(0), std::move(text)});
}

std::uint8_t Receiver::retryByte() const
{
    return phase_ == Phase::Data ? NAK : CRC_REQUEST;
}

} // namespace mr3x::ymodem
