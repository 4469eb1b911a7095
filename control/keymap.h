#pragma once
// The key map: one row per key, looked up by virtual-key code. Shift,
// control and alternate states play no part. Keys without a row do nothing.

#include <QString>
#include <cstdint>
#include <span>

namespace vv {

enum class KeyCommand {
    KeyboardHelp,        // F1: the key help
    LoadPreviousVideo,   // P
    LoadNextVideo,       // N
    VideoList,           // Esc: open / close the video selection window (VideoDir)
    Navigation,          // W: hide all when ActiveMode is 1, else the navigation display
    Interaction,         // E: hide all when ActiveMode is 6, else the interaction menu
    Play,                // R: when the PLAY button reads "PLAY", show "PLAY" and press it
    Stop,                // S: when it reads "STOP", show "STOP" and press it
    FastForward,         // F
    FastRewind,          // B
    ZoomStep,            // I, O: zoom by zoomDelta, then show the zoom text
    Digit,               // 0..9: digit command by ActiveMode (digit holds the value)
    CrazyVision,         // C
    Speed,               // numeric pad + and -: SETspeed(present rate + speedDelta)
    Mark,                // L: press the MARK button
    ZoomMove,            // Clear, numeric pad 5, Home, numeric pad 7: move dx, dy and
                         // zoom by zoomDelta, without a text
};

struct KeyRow {
    int vk;               // virtual-key code (control/virtual_keys.h)
    KeyCommand command;
    const char* key;      // the key's name for the key help ("F1", "Num +")
    int digit = -1;       // Digit: 0..9
    std::int16_t zoomDelta = 0;   // ZoomStep, ZoomMove: added to ZoomPercent
    std::int32_t dx = 0;  // ZoomMove: picture move in twips
    std::int32_t dy = 0;
    double speedDelta = 0;        // Speed: +0.1 / -0.1
};

// The rows in the map's order: F1, P, N, Esc, W, E, R, S, F, B, I, O,
// digits 0-9, C, numeric-pad plus, numeric-pad minus, L, Clear,
// numeric-pad 5, Home, numeric-pad 7.
std::span<const KeyRow> keyTable();

// The row of a virtual-key code, nullptr when the key is not in the map.
const KeyRow* lookupKey(int vk);

// ZoomPercent + delta as 16-bit arithmetic, pinned to the 16-bit range
// instead of overflowing (ZOOMvideo limits it to 100..1000 afterwards).
std::int16_t zoomRequest(std::int16_t zoomPercent, int delta);

// "ZOOM 105%": "ZOOM", the number with its leading blank, "%".
QString zoomText(std::int16_t zoomPercent);

// Jump to tenths: DurationFrames / 10 in single precision, times digit,
// rounded half to even (9 on 1000 frames -> 900).
std::int32_t tenthsTarget(std::int32_t durationFrames, int digit);

// "JUMP START" for 0, otherwise "JUMP INDEX" and the number with its leading
// blank: "JUMP INDEX 5". Also the text of the digit buttons.
QString jumpIndexText(int digit);

// Scene image window that a digit addresses in the navigation display:
// sceneStripFirst + digit - 1; -1 when that lies outside 0..17.
int navigationSceneWindow(int sceneStripFirst, int digit);

} // namespace vv
