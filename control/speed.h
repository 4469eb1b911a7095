#pragma once
// Playback rate: limits, rounding and the confirmation text.

#include <QString>

namespace vv {

inline constexpr float MinSpeed = 0.1f;
inline constexpr float MaxSpeed = 2.0f;

struct SpeedSetting {
    float rate;     // the rate to set: clamped to 0.1..2.0 and rounded to a tenth
    QString text;   // "SPEED 0.5 x", "SPEED 1.0 x", "SPEED 2.0 x", "SPEED 1.2 x"
};

// What SETspeed does with a requested rate: clamp to 0.1..2.0 (exactly 0.1
// and 2.0 pass), round to the nearest tenth (halves to even), and make the
// text "SPEED " + rate + " x", the rate with a "0" before a leading point,
// "1.0" for 1 and "2.0" for 2, at most three characters. A rate that is not a
// number is taken as 1.0.
SpeedSetting speedSetting(float requested);

// The rate that a faster / slower step asks for: the present rate (as the
// player reports it) plus delta in double arithmetic, then single precision.
float steppedRate(double presentRate, double delta);

} // namespace vv
