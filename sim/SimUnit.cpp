#include "sim/SimUnit.h"

#include "sim/ArgumentDecoding.h"
#include "link/ymodem/Crc16.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace mr3x::sim {

namespace {

/// A byte that begins a command and is none of the transfer's own answers.
bool isCommandNotHandshake(std::uint8_t byte)
{
    return byte != mr3x::ymodem::ACK && byte != mr3x::ymodem::NAK && byte != mr3x::ymodem::CRC_REQUEST
        && byte != mr3x::ymodem::CAN && CommandParser::startsCommand(byte);
}


constexpr std::int64_t kMicrosPerMs = 1000;

std::int64_t toMicros(std::int64_t ms)
{
    return ms * kMicrosPerMs;
}

std::int64_t toMsCeil(std::int64_t us)
{
    return us >= 0 ? (us + kMicrosPerMs - 1) / kMicrosPerMs : us / kMicrosPerMs;
}

std::string twoDigit(int value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
    return buffer;
}

/// The cable the options describe; the rest of its nature is the usual cable's.
Cable cableOf(const SimOptions& options)
{
    Cable cable;
    cable.lengthM = options.cableLengthM;
    cable.farEnd = options.farEnd;
    cable.faultDistanceM = options.faultDistanceM;
    return cable;
}

} // namespace

SimUnit::SimUnit(SimOptions options)
    : options_(std::move(options)),
      serialNumber_(options_.serialNumber.empty() ? modelInfo(options_.model).serialNumber : options_.serialNumber),
      settings_(armedForTrs(options_.settings, options_.trsRole)),
      clock_(options_.clock, 0),
      recorder_(options_.model, options_.seed, cableOf(options_), options_.trsRole),
      sender_(output_),
      armed_(options_.armed)
{
    settings_.baud = options_.baud;
    output_.setRate(options_.baud, options_.paced);
    const int count = std::clamp(options_.events, 0, slotCount());
    events_ = recorder_.storedEvents(count, options_.clock, options_.settings, settings_);
}

int SimUnit::slotCount() const
{
    return modelInfo(options_.model).indexSlots;
}

const Bytes& SimUnit::eventRecord(int slot) const
{
    return events_.at(static_cast<std::size_t>(slot)).record;
}

Bytes SimUnit::indexFile() const
{
    std::vector<IndexEntry> entries;
    for (std::size_t slot = 0; slot < events_.size(); ++slot)
        entries.push_back({static_cast<int>(slot), events_[slot].when});
    return makeIndex(slotCount(), entries);
}

std::string SimUnit::finishedLine(char letter) const
{
    // The one place that decides how a command is named in its "Finished" line.
    std::string name;
    if (letter == kCtrlB || letter == kCtrlC)
        name = std::string("^") + static_cast<char>('A' + letter - 1);
    else
        name = std::string(1, options_.upperCaseFinished ? static_cast<char>(std::toupper(letter)) : letter);
    return "\r\nFinished " + name + "\r\n";
}

void SimUnit::setLineSpeed(int baud)
{
    settings_.baud = baud;
    output_.setRate(baud, options_.paced);
}

bool SimUnit::lineLost(std::int64_t nowMs) const
{
    return lineLostAtUs_ && *lineLostAtUs_ <= toMicros(nowMs);
}

void SimUnit::disconnect(std::int64_t nowMs)
{
    if (!lineLostAtUs_)
        lineLostAtUs_ = toMicros(nowMs);
}

void SimUnit::reconnect()
{
    lineLostAtUs_.reset();
    output_.clear();
    parser_.reset();
    sender_.stop();
    offer_ = Offer::None;
    awaitingAck_.reset();
    armedStopStartUs_.reset();
}

void SimUnit::receive(std::string_view text, std::int64_t nowMs)
{
    receive(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), nowMs);
}

void SimUnit::receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs)
{
    const std::int64_t nowUs = toMicros(nowMs);
    advance(nowUs);
    for (std::uint8_t byte : bytes) {
        if (lineLostAtUs_ && *lineLostAtUs_ <= nowUs)
            return;  // nothing reaches a unit whose cable is out
        handleByte(byte, nowUs);
    }
}

std::vector<std::uint8_t> SimUnit::transmit(std::int64_t nowMs)
{
    std::int64_t nowUs = toMicros(nowMs);
    advance(nowUs);
    if (lineLostAtUs_)
        nowUs = std::min(nowUs, *lineLostAtUs_);  // bytes after the cut never arrive
    return output_.take(nowUs);
}

std::optional<std::int64_t> SimUnit::nextEventMs() const
{
    std::optional<std::int64_t> next;
    auto consider = [&next](std::optional<std::int64_t> us) {
        if (us && (!next || *us < *next))
            next = us;
    };
    if (output_.hasQueued())
        consider(output_.nextDeparture());
    if (const auto parserDue = parser_.deadline())
        consider(toMicros(*parserDue + 1));  // dropped once the gap is over a second
    consider(sender_.nextDeadline());
    if (awaitingAck_)
        consider(awaitingAck_->second);
    if (lineLostAtUs_)
        consider(*lineLostAtUs_);
    if (!next)
        return std::nullopt;
    return toMsCeil(*next);
}

void SimUnit::advance(std::int64_t nowUs)
{
    // A command whose characters stopped arriving is dropped without an answer.
    handleOutcome(parser_.expire(nowUs / kMicrosPerMs), nowUs);
    sender_.advance(nowUs);
    settleTransfer(nowUs);
    if (awaitingAck_ && awaitingAck_->second <= nowUs)
        awaitingAck_.reset();
}

void SimUnit::settleTransfer(std::int64_t nowUs)
{
    if (const auto lost = sender_.lineLostAt(); lost && !lineLostAtUs_)
        lineLostAtUs_ = *lost;
    if (offer_ == Offer::None || sender_.busy())
        return;
    if (offer_ == Offer::Record && sender_.state() == YmodemSender::State::Done)
        awaitingAck_ = std::make_pair(offeredSlot_, nowUs + toMicros(kRecordAckWaitMs));
    offer_ = Offer::None;
}

void SimUnit::handleByte(std::uint8_t byte, std::int64_t nowUs)
{
    if (armed_) {
        handleWhileArmed(byte, nowUs);
        return;
    }
    if (sender_.busy()) {
        // While the offer waits for the receiver's 'C', a command byte withdraws it and is read
        // as the command it starts.
        if (sender_.offering() && CommandParser::startsCommand(byte)) {
            sender_.abandon();
            settleTransfer(nowUs);
            parse(byte, nowUs);
        } else if (sender_.fileDelivered() && isCommandNotHandshake(byte)) {
            // A receiver that took the whole file may leave without closing the batch (rz does
            // so at times): the next command ends the batch and is read as a command.
            sender_.finishDelivered();
            settleTransfer(nowUs);
            parse(byte, nowUs);
        } else {
            sender_.receive(byte, nowUs);
            settleTransfer(nowUs);
        }
        return;
    }
    if (awaitingAck_ && !parser_.inCommand()) {
        const int slot = awaitingAck_->first;
        awaitingAck_.reset();
        if (byte == static_cast<std::uint8_t>(kAck)) {
            confirmed_.insert(slot);
            return;
        }
    }
    parse(byte, nowUs);
}

void SimUnit::handleWhileArmed(std::uint8_t byte, std::int64_t nowUs)
{
    // Recording: only "=" then "-" is heard, with the pause the program leaves between them.
    if (byte == '=') {
        armedStopStartUs_ = nowUs;
        return;
    }
    const bool inTime = armedStopStartUs_
        && nowUs - *armedStopStartUs_ <= toMicros(CommandParser::kStopPairGapMs);
    if (byte == '-' && inTime) {
        armedStopStartUs_.reset();
        if (!silenced('='))
            stop(nowUs);
        return;
    }
    if (byte != '\r' && byte != '\n')
        armedStopStartUs_.reset();
}

void SimUnit::parse(std::uint8_t byte, std::int64_t nowUs)
{
    handleOutcome(parser_.feed(byte, nowUs / kMicrosPerMs), nowUs);
    handleOutcome(parser_.pending(), nowUs);
}

void SimUnit::handleOutcome(const std::optional<ParseOutcome>& outcome, std::int64_t nowUs)
{
    // A malformed command gets no answer at all: the program sees its time-out.
    if (!outcome || outcome->kind == ParseOutcome::Kind::Malformed)
        return;
    if (silenced(outcome->command.letter))
        return;
    execute(outcome->command, nowUs);
}

bool SimUnit::silenced(char letter)
{
    const int count = ++occurrences_[letter];
    return std::any_of(options_.faults.silent.begin(), options_.faults.silent.end(), [&](const SilentCommand& s) {
        return s.letter == letter && (s.occurrence == 0 || s.occurrence == count);
    });
}

void SimUnit::say(std::string_view text, std::int64_t nowUs)
{
    output_.send(Bytes(text.begin(), text.end()), nowUs);
}

void SimUnit::finish(char letter, std::int64_t nowUs)
{
    say(finishedLine(letter), nowUs);
}

void SimUnit::stop(std::int64_t nowUs)
{
    armed_ = false;
    say("\r\nstopped by serial comm!\r\n", nowUs);
}

void SimUnit::execute(const Command& command, std::int64_t nowUs)
{
    const std::string& arg = command.argument;
    const std::int64_t nowMs = nowUs / kMicrosPerMs;
    switch (command.letter) {
    case 'X':
        say(settingsText(options_.model, settings_, storedEvents()), nowUs);
        finish('X', nowUs);
        break;
    case 'p':
        finish('p', nowUs);
        offerFile("INDEX.IDX", indexFile(), clock_.at(nowMs), Offer::Other, nowUs);
        break;
    case 'f':
        sendEventRecord(command, nowUs);
        break;
    case 'y':
        if (arg == "1") {
            const DateTime when = clock_.at(nowMs);
            const Bytes record = recorder_.manualRecording(settings_, when, storedEvents(), manualRecordings_++);
            finish('y', nowUs);
            offerFile("MANUAL.ACT", record, when, Offer::Other, nowUs);
        }
        break;
    case 'T':
        if (const auto time = decodeTime(arg)) {
            clock_.set(*time, nowMs);
            finish('T', nowUs);
        }
        break;
    case 'h':
        if (const auto threshold = decodeThreshold(arg)) {
            settings_.threshold = *threshold;
            finish('h', nowUs);
        }
        break;
    case 'd':
        if (const auto duration = decodeDuration(arg)) {
            settings_.duration = *duration;
            finish('d', nowUs);
            // An M-S32 is never sent "g": it runs its test after the trigger settings instead.
            if (options_.model == Model::MS32)
                offerTrace(nowUs);
        }
        break;
    case 'N':
        if (const auto id = decodeIdentity(arg)) {
            settings_.idDate = id->idDate;
            settings_.job = id->job;
            settings_.location = id->location;
            settings_.spare = id->spare;
            finish('N', nowUs);
        }
        break;
    case 'g':
        setHardware(command, nowUs);
        break;
    case 'e':
        finish('e', nowUs);
        armed_ = true;
        break;
    case '=':
        stop(nowUs);
        break;
    case 'R':
        finish('R', nowUs);
        break;
    case 'V':
        say("\r\n" + versionText(options_.model, serialNumber_), nowUs);
        finish('V', nowUs);
        break;
    case 'W':
        say("\r\nReporting to DataDesk: " + settings_.simNumber + " ... queued", nowUs);
        finish('W', nowUs);
        break;
    case 'A':
        setAutoReport(command, nowUs);
        break;
    case kCtrlB:
        say("\r\nStatus: " + std::string(armed_ ? "armed" : "stopped") + ", "
                + std::to_string(storedEvents()) + " events stored",
            nowUs);
        finish(kCtrlB, nowUs);
        break;
    case kCtrlC:
        say("\r\nBreak", nowUs);
        finish(kCtrlC, nowUs);
        break;
    default:
        break;  // ACK outside a record hand-over confirms nothing
    }
}

void SimUnit::sendEventRecord(const Command& command, std::int64_t nowUs)
{
    const auto slot = decodeSlot(command.argument);
    if (!slot || *slot >= slotCount())
        return;
    if (*slot >= storedEvents()) {
        // An empty slot: the unit says so and does not finish, so the program times out.
        say("\r\nNo event in slot " + twoDigit(*slot) + "\r\n", nowUs);
        return;
    }
    finish('f', nowUs);
    offeredSlot_ = *slot;
    const StoredEvent& event = events_[static_cast<std::size_t>(*slot)];
    offerFile("EVENT_" + twoDigit(*slot + 1) + ".EVT", event.record, event.when, Offer::Record, nowUs);
}

void SimUnit::setHardware(const Command& command, std::int64_t nowUs)
{
    const auto hw = decodeHardware(command.argument);
    if (!hw)
        return;
    settings_.threshold = hw->threshold;
    settings_.duration = hw->duration;
    settings_.fsdCode = hw->fsdCode;
    settings_.phase = hw->phase;
    settings_.mode = hw->mode;
    settings_.hardware = hw->hardware;
    settings_.gain = hw->gain;
    settings_.balance = hw->balance;
    settings_.balanceMode = hw->balanceMode;
    finish('g', nowUs);
    // An even mode digit means file transfer on: the unit runs a test and offers its trace.
    if (hw->mode % 2 == 0)
        offerTrace(nowUs);
}

void SimUnit::setAutoReport(const Command& command, std::int64_t nowUs)
{
    const std::string& arg = command.argument;
    if (arg == "0") {
        autoReport_ = msMode_ = false;
        say("\r\nAuto report OFF, M-S mode OFF", nowUs);
    } else if (arg == "1") {
        autoReport_ = true;
        say("\r\nAuto report ON", nowUs);
    } else if (arg == "2") {
        msMode_ = true;
        say("\r\nM-S mode ON", nowUs);
    } else {
        return;
    }
    finish('A', nowUs);
}

void SimUnit::offerTrace(std::int64_t nowUs)
{
    const DateTime when = clock_.at(nowUs / kMicrosPerMs);
    const Bytes trace = recorder_.testTrace(settings_, when, storedEvents(), testTraces_++);
    offerFile(settings_.tdrMode() ? "TEST.TDR" : "TEST_TRS.TDR", trace, when, Offer::Other, nowUs);
}

void SimUnit::offerFile(const std::string& name, const Bytes& bytes, const DateTime& modified, Offer kind,
                        std::int64_t nowUs)
{
    ++transfersOffered_;
    const SimFaults& faults = options_.faults;
    const bool faulty = faults.faultyTransfer == 0 || faults.faultyTransfer == transfersOffered_;
    lastOfferName_ = name;
    lastOfferBytes_ = bytes;
    offer_ = kind;
    sender_.offer(name, bytes, modified.toSeconds(), nowUs, faulty ? faults.transfer : TransferFaults{});
}

} // namespace mr3x::sim
