#pragma once
// The link under faults: many downloads of event records and of the index from the simulated
// unit, through the window's own handlers ("Get Data", "Get Index") or straight through the unit
// session they call (as the collector does), on the test clock, with a fault of one kind injected
// at a random point of most of them.
//
// Each download must end in one of two ways: the file stored under its name, byte for byte the
// unit's record (and the record confirmed to the unit), or a plain failure on the status line with
// no file and no temporary file left. No wait may outlast its bound, and the window must stay
// usable: nothing left busy, no message box, and every clean download after a fault succeeds.
#include <QStringList>

#include <array>
#include <cstdint>
#include <iterator>

namespace mr3x::soak {

enum class FaultKind { Clean, CorruptBytes, DroppedBytes, Stall, SenderAbort, PulledCable };
inline constexpr const char* kKindNames[] = {"clean", "corrupted bytes", "dropped bytes", "stall", "sender abort", "pulled cable"};
inline constexpr std::size_t kFaultKinds = std::size(kKindNames);
inline const char* kindName(FaultKind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }

/// Who asks for each download: the window's buttons, or the unit session with no handler around it.
enum class SoakRoad { WindowHandlers, UnitSession };

struct SoakOptions {
    int downloads = 1000;
    std::uint64_t seed = 1;
    SoakRoad road = SoakRoad::WindowHandlers;
};

struct KindCounts {
    int downloads = 0;
    int stored = 0;  // the file arrived whole and is stored
    int failed = 0;  // a plain failure: the status line says so and no file is left
};

struct SoakReport {
    std::array<KindCounts, kFaultKinds> byKind{};
    int indexDownloads = 0;
    int eventDownloads = 0;
    /// The longest the program went without sending a byte during a download (every wait
    /// answers or gives up within its limit), and the longest download, in the link's time.
    std::int64_t longestSilenceMs = 0;
    std::int64_t longestDownloadMs = 0;
    std::int64_t linkTimeMs = 0;
    /// Every broken rule, one line each; empty when the link held.
    QStringList violations;
};

/// The longest the program may stay silent while it waits: the index request's 10 s reply wait
/// and the half second before the reception (a block's 10 s start limit is shorter than both).
inline constexpr std::int64_t kLongestSilenceMs = 10'500 + 50;
/// A download that has not ended by then has hung.
inline constexpr std::int64_t kHungAfterMs = 600'000;

SoakReport runLinkSoak(const SoakOptions& options);

/// The counts as a table, then the waits, then the violations.
QString formatReport(const SoakReport& report);

} // namespace mr3x::soak
