#pragma once
// The simulated Local Unit: a time-driven model of a unit on the far end of a serial line.
//
// receive() hands it the bytes the program sent, with the link time they arrived; transmit()
// returns what it has sent by a given time. Nothing else moves it, so it runs the same under a
// test clock (in-process) as under the real clock (the standalone server), and a seed, its
// options and the bytes it is sent decide everything it says.
//
// It starts armed and recording, as a unit found in the field: it then hears only "=" followed by
// "-", which stops it ("stopped by serial comm!") and puts it under serial control. Under serial
// control it answers each completed command with "Finished " and the command's letter; "e" arms it
// again. Files (index, event records, manual recordings, test traces) go out by YMODEM.
#include "sim/Cable.h"
#include "sim/CommandParser.h"
#include "sim/OutputLine.h"
#include "sim/Recorder.h"
#include "sim/SimFaults.h"
#include "sim/UnitClock.h"
#include "sim/UnitModel.h"
#include "sim/UnitSettings.h"
#include "sim/YmodemSender.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::sim {

struct SimOptions {
    Model model = Model::MR32;
    std::uint64_t seed = 1;
    int baud = 115200;
    /// Bytes leave at the line rate (10 bits a byte) rather than at once.
    bool paced = false;
    /// Events held at start (at most the model's index slots).
    int events = 12;
    /// The cable the TDR and TRS traces show: where the fault is (metres from the Master's end at
    /// 54.0 %), how long the cable is and what its far end does.
    double faultDistanceM = 150.0;
    double cableLengthM = 320.0;
    FarEnd farEnd = FarEnd::Open;
    /// A TRS Master or Slave: the unit is armed for its part of the pair (see armedForTrs) and
    /// holds the pair's event as its newest.
    TrsRole trsRole = TrsRole::None;
    /// The serial number the version command reports; empty: the model's.
    std::string serialNumber;
    /// The unit's clock at link time 0.
    DateTime clock;
    /// Found recording in the field (true) or already under serial control.
    bool armed = true;
    /// Answer "Finished X" with the letter upper-cased ("Finished P" for "p").
    bool upperCaseFinished = false;
    /// The settings the unit held while it recorded its stored events; a TRS role changes the
    /// ones it holds from then on.
    UnitSettings settings;
    SimFaults faults;
};

class SimUnit {
public:
    /// How long the unit waits for the ACK that confirms an event record.
    static constexpr std::int64_t kRecordAckWaitMs = 5000;

    explicit SimUnit(SimOptions options = {});

    void receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    void receive(std::string_view text, std::int64_t nowMs);
    /// Every byte that has left the unit by `nowMs`.
    std::vector<std::uint8_t> transmit(std::int64_t nowMs);
    /// The next moment the unit does something on its own (a byte leaves, a wait ends).
    std::optional<std::int64_t> nextEventMs() const;

    /// The line speed the far end opened the port with.
    void setLineSpeed(int baud);
    /// The line is gone (a disconnect fault or a pulled cable) by `nowMs`.
    bool lineLost(std::int64_t nowMs) const;
    /// Pulls the cable now.
    void disconnect(std::int64_t nowMs);
    /// Plugs it back in: the unit keeps its state, but what was on the line is lost.
    void reconnect();

    SimFaults& faults() { return options_.faults; }

    // --- What the unit holds, for tests and the demo -------------------------------------
    Model model() const { return options_.model; }
    TrsRole trsRole() const { return options_.trsRole; }
    const std::string& serialNumber() const { return serialNumber_; }
    const UnitSettings& settings() const { return settings_; }
    DateTime clockAt(std::int64_t nowMs) const { return clock_.at(nowMs); }
    bool armed() const { return armed_; }
    int slotCount() const;
    int storedEvents() const { return static_cast<int>(events_.size()); }
    const Bytes& eventRecord(int slot) const;
    Bytes indexFile() const;
    /// Slots whose record the far end confirmed with ACK after receiving it.
    const std::set<int>& confirmedRecords() const { return confirmed_; }
    YmodemSender::State transferState() const { return sender_.state(); }
    int transferResends() const { return sender_.resends(); }
    /// The last file the unit offered: its block 0 name and its bytes.
    const std::string& lastOfferName() const { return lastOfferName_; }
    const Bytes& lastOfferBytes() const { return lastOfferBytes_; }
    /// The line the unit ends a completed command with, e.g. "\r\nFinished X\r\n".
    std::string finishedLine(char letter) const;

private:
    enum class Offer { None, Record, Other };

    void advance(std::int64_t nowUs);
    void settleTransfer(std::int64_t nowUs);
    void handleByte(std::uint8_t byte, std::int64_t nowUs);
    void handleWhileArmed(std::uint8_t byte, std::int64_t nowUs);
    void parse(std::uint8_t byte, std::int64_t nowUs);
    void handleOutcome(const std::optional<ParseOutcome>& outcome, std::int64_t nowUs);
    bool silenced(char letter);
    void execute(const Command& command, std::int64_t nowUs);
    void stop(std::int64_t nowUs);
    void sendEventRecord(const Command& command, std::int64_t nowUs);
    void setHardware(const Command& command, std::int64_t nowUs);
    void setAutoReport(const Command& command, std::int64_t nowUs);
    void offerTrace(std::int64_t nowUs);
    void offerFile(const std::string& name, const Bytes& bytes, const DateTime& modified, Offer kind,
                   std::int64_t nowUs);
    void say(std::string_view text, std::int64_t nowUs);
    void finish(char letter, std::int64_t nowUs);

    SimOptions options_;
    std::string serialNumber_;
    UnitSettings settings_;
    UnitClock clock_;
    Recorder recorder_;
    std::vector<StoredEvent> events_;
    OutputLine output_;
    CommandParser parser_;
    YmodemSender sender_;

    bool armed_ = true;
    std::optional<std::int64_t> armedStopStartUs_;  // when "=" came while armed
    Offer offer_ = Offer::None;
    int offeredSlot_ = -1;
    std::optional<std::pair<int, std::int64_t>> awaitingAck_;  // slot, deadline (µs)
    std::set<int> confirmed_;
    std::map<char, int> occurrences_;
    int transfersOffered_ = 0;
    int manualRecordings_ = 0;
    int testTraces_ = 0;
    bool autoReport_ = false;
    bool msMode_ = false;
    std::optional<std::int64_t> lineLostAtUs_;
    std::string lastOfferName_;
    Bytes lastOfferBytes_;
};

} // namespace mr3x::sim
