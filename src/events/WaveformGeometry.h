#pragma once
// Where things lie on a slot's waveform picture. x runs from 0 to 8000 over the full view (10
// units a sample group), y from -10 to 266 (a sample byte at its raw value).
//
// The marker grid has 64 positions, one for each TDR pulse block of the event's trace area,
// 20.2 units apart from the marker origin. The origin, and where the zoomed view starts, depend
// on the unit's version: the later units put their pulses further right.
#include "events/EventRecord.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace mr3x::events {

inline constexpr double kGridStep = 20.2;
inline constexpr int kGridPositions = 64;
inline constexpr double kFullWidth = 8000, kZoomWidth = 1600;

/// x of grid position 0: 913 for versions "", "0", "1" and "3"; 1236 for any other.
int markerOrigin(std::string_view version);
/// Where the zoomed view starts: 1080 for version "2" or a number above 3, else 760. Either
/// way the zoomed view holds the whole grid.
double zoomStart(std::string_view version);
/// position * 20.2 + origin.
double gridX(int position, int origin);
/// The grid position a click at x picks: (x - origin, rounded) \ 20, truncating toward zero;
/// nothing outside 0..63. So a click up to 19 units left of the origin still picks 0.
std::optional<int> gridPositionAt(double x, int origin);
/// The measuring point a Metering click at x sets: x held to 400..7600, m = round(x + 5) \ 10,
/// so 40 to 760; raised to 80 in raw mode.
int measuringPointAt(double x, bool raw);
/// x of byte n (1..3200) of the samples: n * 10 / 4.
double sampleX(int n);
struct WavePoint {
    double x = 0;
    double y = 0;
};
/// The line channel c (0..3) is drawn as: from (0, its first sample), then each of its bytes n
/// (c + 1, c + 5, ... up to 3200) at (n * 10 / 4, byte n).
std::vector<WavePoint> channelTrace(const EventRecord& record, int channel);
/// The half-cycle rms of phase voltage c (0..2) as a line over its trace: each value at the
/// middle of its cycle, as high above the channel's zero level as the rms is in levels.
std::vector<WavePoint> halfCycleRmsLine(const EventRecord& record, int channel);
/// The trace colour of channel c (0xBBGGRR): red, yellow, blue, grey; black for no channel.
std::uint32_t channelColourBgr(int channel);

} // namespace mr3x::events
