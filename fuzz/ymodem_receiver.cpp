// The YMODEM receiver fed whatever a line can bring, with time passing in between.
//
// The input is a program for a sender: each step is raw bytes, a well-formed block (with a
// correct CRC, so the fuzzer reaches the data phase), a block 0 announcing a file, EOT, CAN, or a
// pause. Blocks may arrive cut in two with a pause between, or with one byte changed. After the
// input the line goes silent and the receiver is given a bounded time to reach its outcome.
//
// What must hold whatever arrives:
// - no more file bytes are accepted than the file announced, nor any before it was announced;
// - every byte handed out begins the payload of a whole block on the line whose CRC checks;
// - the bytes handed out are exactly the bytes counted, in a reception that did not fail;
// - a complete file has exactly its announced length and a name;
// - a failed or aborted reception says why, keeps nothing back, and answers nothing more;
// - the receiver only ever answers 'C', ACK, NAK or CAN, and uses every byte while it runs;
// - once the line is silent the reception ends within its error limit times its time limits.
//
// The announced name is never used to store the file (the program stores under the name it asked
// for, which must pass isSafeName), so the receiver has no name to refuse; it must still never
// give out a name holding the NUL that ends it.
#include "FuzzCheck.h"
#include "link/ymodem/Crc16.h"
#include "link/ymodem/Receiver.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace mr3x;
using namespace mr3x::ymodem;

namespace {

Bytes frame(std::uint8_t number, const Bytes& data, std::size_t size, std::uint8_t pad)
{
    Bytes payload(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(size, data.size())));
    payload.resize(size, pad);
    const std::uint16_t crc = crc16(payload);
    Bytes out{size == 128 ? SOH : STX, number, static_cast<std::uint8_t>(~number)};
    out.insert(out.end(), payload.begin(), payload.end());
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return out;
}

class Run {
public:
    explicit Run(const ReceiverLimits& limits)
        : limits_(limits)
        , receiver_(limits)
    {
        after(receiver_.start(now_));
    }

    void pause(std::int64_t ms)
    {
        now_ += ms;
        after(receiver_.tick(now_));
    }

    void send(const Bytes& bytes)
    {
        sent_.insert(sent_.end(), bytes.begin(), bytes.end());
        std::size_t consumed = 0;
        const bool wasRunning = receiver_.running();
        const Bytes answer = receiver_.receive(bytes, now_, &consumed);
        FUZZ_CHECK(consumed <= bytes.size());
        if (!wasRunning)
            FUZZ_CHECK(consumed == 0);
        if (receiver_.running())
            FUZZ_CHECK(consumed == bytes.size());
        after(answer);
    }

    /// The line goes silent: the reception must end within its limits.
    void silence()
    {
        constexpr std::int64_t step = 250;
        const std::int64_t perError = limits_.blockStartMs + limits_.quietMs + limits_.characterMs + 2 * step;
        const std::int64_t deadline = now_ + (limits_.maxErrors + 1) * perError;
        while (receiver_.running() && now_ < deadline)
            pause(step);
        FUZZ_CHECK(!receiver_.running());
        if (std::getenv("MR3X_FUZZ_TRACE") != nullptr) // to see where an input leads
            std::fprintf(stderr, "outcome %d, %llu of %lld bytes, \"%s\" (%s)\n", static_cast<int>(receiver_.outcome()),
                         static_cast<unsigned long long>(receiver_.bytesReceived()),
                         static_cast<long long>(receiver_.announcedLength().value_or(0)),
                         receiver_.announcedName().c_str(), receiver_.failure().c_str());
    }

    Receiver& receiver() { return receiver_; }

private:
    void after(const Bytes& answer)
    {
        for (const std::uint8_t b : answer)
            FUZZ_CHECK(b == CRC_REQUEST || b == ACK || b == NAK || b == CAN);
        if (ended_) {
            // An ended reception stays as it ended and says nothing more.
            FUZZ_CHECK(answer.empty());
            FUZZ_CHECK(receiver_.outcome() == endedAs_);
        }

        const Bytes data = receiver_.takeData();
        got_ += data.size();
        FUZZ_CHECK(data.empty() || fromACheckedBlock(data));

        const auto length = receiver_.announcedLength();
        if (length) {
            FUZZ_CHECK(*length <= limits_.maxFileBytes);
            FUZZ_CHECK(receiver_.bytesReceived() <= *length);
            FUZZ_CHECK(!receiver_.announcedName().empty());
        } else {
            FUZZ_CHECK(receiver_.bytesReceived() == 0);
        }
        FUZZ_CHECK(receiver_.announcedName().find('\0') == std::string::npos);
        FUZZ_CHECK(got_ <= receiver_.bytesReceived());

        switch (receiver_.outcome()) {
        case Outcome::Running:
            FUZZ_CHECK(got_ == receiver_.bytesReceived());
            break;
        case Outcome::Complete:
            FUZZ_CHECK(length.has_value());
            FUZZ_CHECK(receiver_.bytesReceived() == *length);
            FUZZ_CHECK(got_ == *length);
            FUZZ_CHECK(receiver_.failure().empty());
            break;
        case Outcome::Failed:
        case Outcome::Aborted:
            FUZZ_CHECK(!receiver_.failure().empty());
            FUZZ_CHECK(data.empty());
            break;
        }
        if (!receiver_.running() && !ended_) {
            ended_ = true;
            endedAs_ = receiver_.outcome();
        }
    }

    /// The bytes begin the payload of a whole block on the line, one whose number agrees with its
    /// complement and whose CRC checks.
    bool fromACheckedBlock(const Bytes& data) const
    {
        for (std::size_t at = 3; at + data.size() <= sent_.size(); ++at) {
            const std::uint8_t start = sent_[at - 3];
            if ((start != SOH && start != STX) || static_cast<std::uint8_t>(sent_[at - 2] ^ sent_[at - 1]) != 0xFF)
                continue;
            const std::size_t payload = start == SOH ? 128 : 1024;
            if (data.size() > payload || at + payload + 2 > sent_.size())
                continue;
            if (!std::equal(data.begin(), data.end(), sent_.begin() + static_cast<std::ptrdiff_t>(at)))
                continue;
            const auto checked = std::span<const std::uint8_t>(sent_).subspan(at, payload + 2);
            if (crc16(checked) == 0)
                return true;
        }
        return false;
    }

    ReceiverLimits limits_;
    Receiver receiver_;
    Bytes sent_; // everything the line brought, in order
    std::int64_t now_ = 1'000'000;
    std::uint64_t got_ = 0;
    bool ended_ = false;
    Outcome endedAs_ = Outcome::Running;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);

    ReceiverLimits limits;
    limits.maxErrors = 1 + (in.byte() & 15);
    const std::uint8_t sizeChoice = in.byte();
    // Small limits let short inputs reach the refusal of an over-long file.
    limits.maxFileBytes = sizeChoice < 128 ? std::uint64_t{sizeChoice} * 40 : ReceiverLimits{}.maxFileBytes;

    Run run(limits);
    std::uint8_t nextNumber = 1; // the sender's own count of data blocks

    while (!in.empty()) {
        const std::uint8_t op = in.byte();
        Bytes bytes;
        switch (op & 7) {
        case 0: { // a pause, from a few milliseconds to a minute
            const std::int64_t ms = std::int64_t{in.byte()} * ((op & 0x80) != 0 ? 256 : 16);
            run.pause(ms);
            continue;
        }
        case 1: // whatever the line brings
            bytes = in.bytes(1 + in.byte() % 64);
            break;
        case 2: { // a block of any number
            const std::uint8_t number = in.byte();
            const std::size_t blockSize = (op & 0x08) != 0 ? 1024 : 128;
            const std::size_t count = (op & 0x08) != 0 ? std::size_t{in.byte()} * 4 : in.byte() % 129;
            bytes = frame(number, in.bytes(count), blockSize, in.byte());
            break;
        }
        case 3: { // block 0 announcing a file
            const std::string name = [&] {
                const Bytes n = in.bytes(in.byte() % 16);
                return std::string(n.begin(), n.end());
            }();
            std::string text = name + '\0';
            if ((op & 0x08) == 0) {
                const unsigned length = (unsigned{in.byte()} << 8) | in.byte();
                text += std::to_string(length);
            }
            if ((op & 0x10) != 0)
                text += " 14575373620 100644";
            text += '\0';
            bytes = frame(0, Bytes(text.begin(), text.end()), 128, 0);
            break;
        }
        case 4: { // the next data block in the sender's count
            const std::size_t blockSize = (op & 0x08) != 0 ? 1024 : 128;
            const std::size_t count = std::min<std::size_t>(blockSize, std::size_t{in.byte()} * ((op & 0x08) != 0 ? 8 : 1));
            bytes = frame(nextNumber++, in.bytes(count), blockSize, 0x1A);
            break;
        }
        case 5:
            bytes = {EOT};
            break;
        case 6:
            bytes = {CAN};
            break;
        case 7: // the empty block 0 that ends a batch
            bytes = frame(0, {}, 128, 0);
            break;
        }
        if ((op & 0x20) != 0 && !bytes.empty()) { // a line hit
            const std::size_t at = in.byte() % bytes.size();
            bytes[at] ^= static_cast<std::uint8_t>(1 + in.byte() % 255);
        }
        if ((op & 0x40) != 0 && bytes.size() > 1) { // the bytes arrive in two parts
            const std::size_t cut = 1 + in.byte() % (bytes.size() - 1);
            const std::int64_t gap = std::int64_t{in.byte()} * 8;
            run.send(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
            run.pause(gap);
            run.send(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(cut), bytes.end()));
        } else {
            run.send(bytes);
        }
    }
    run.silence();
    return 0;
}
