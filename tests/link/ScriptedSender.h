#pragma once
// A YMODEM sender at the far end of a FakeLine, as a unit would be: it answers the receiver's
// 'C', ACK and NAK with the next frame, a short time later. A test bends it with `fault`, which
// sees every frame before it goes and may change it, cut it or hold it back.
#include "FakeLine.h"
#include "YmodemFrames.h"

#include <functional>
#include <optional>
#include <string>

namespace mr3x::test {

class ScriptedSender {
public:
    /// Which frame is about to go: the header, data block `index` (from 0), an EOT or the
    /// closing block 0; `attempt` counts its sendings from 1.
    enum class Kind { Header, Data, Eot, EndOfBatch };
    struct Frame {
        Kind kind;
        std::size_t index;
        int attempt;
    };
    using Fault = std::function<Bytes(const Frame&, Bytes frame)>;

    ScriptedSender(FakeLine& line, Bytes file, std::string name = "UNIT.EVT", std::size_t blockSize = 1024);

    Fault fault;                              // empty: every frame goes as it is
    std::optional<std::uint64_t> announced;   // the length put in block 0 (the file's own by default)
    std::int64_t delayMs = 2;                 // the time between an answer and the sender's reply
    bool finished() const { return phase_ == Phase::Done; }
    bool cancelled() const { return phase_ == Phase::Cancelled; }
    int framesSent = 0;

private:
    enum class Phase { WaitStart, WaitHeaderAck, WaitDataStart, WaitBlockAck, WaitEotAnswer, WaitFinalStart, WaitFinalAck, Done, Cancelled };

    void take(std::uint8_t byte);
    void send(Kind kind, std::size_t index = 0);

    FakeLine& line_;
    Bytes file_;
    std::string name_;
    std::vector<Bytes> blocks_;
    Phase phase_ = Phase::WaitStart;
    std::size_t block_ = 0;
    int attempt_ = 0;
    Kind lastKind_ = Kind::EndOfBatch;
    std::size_t lastIndex_ = static_cast<std::size_t>(-1);
    bool lastWasCan_ = false;
};

} // namespace mr3x::test
