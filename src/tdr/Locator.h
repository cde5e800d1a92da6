#pragma once
// The TRS locator's arithmetic. The Master and the Slave each record the same travelling wave;
// LOCK shifts the Slave's samples by the cursor difference so that the two line up, and zooms to
// a 256-sample window around the zero cursor. Each unit also reports the sample at which it
// injected its pulse; the Locate buttons open the window there, in the first or the second half
// of the 8192-sample trace (the injection is counted modulo 4096).
namespace mr3x::tdr {

inline constexpr int kLockedWidth = 256, kPanMax = 8064, kPanStep = 128;
inline constexpr int kUnlockedWidth = 8192, kPanMin = 1;
/// The zero cursor Locate places, this far into the window.
inline constexpr int kLocateCursorInset = 6;

/// VB's Mod: the remainder takes the sign of the dividend (-100 Mod 4096 is -100). A divisor of
/// 0 gives 0 rather than stopping the program.
long long signKeepingMod(long long value, long long divisor);

/// LOCK: the new SlaveOffset (offset + difference, half to even) and the pan position
/// (Int(zero cursor x) - 128, so the zero cursor sits mid-window; below 1 taken as 1).
///
/// SlaveOffset is a 16-bit value: repeated locks that would carry it past -32768..32767 stop
/// there instead of overflowing. The pan position never passes the pan bar's maximum, 8064.
struct LockResult {
    int slaveOffset;
    int panPosition;
};
LockResult lockTraces(int slaveOffset, double difference, double zeroCursorX);

/// Locate #index (0 Master first half, 1 Slave first half, 2 Master second half, 3 Slave second
/// half): the window start W = round(injection, less slaveOffset for the Slave) Mod 4096, plus
/// 4096 for the second half, rounded half to even and with the sign kept. `inRange` is false
/// when W lies outside the pan bar's 1..8064 (then the window must not move); so is it for an
/// index outside 0..3.
struct LocateResult {
    long long windowStart;
    bool inRange;
};
LocateResult locateWindow(int index, double injection, int slaveOffset);

} // namespace mr3x::tdr
