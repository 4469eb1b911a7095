#pragma once
// Keys are known to the key map by their virtual-key codes (the codes the
// map's table is written in). Qt key events are translated here, once, for
// every window that hands keys on.

class QKeyEvent;

namespace vv {

namespace vk {
inline constexpr int Clear = 0x0C;
inline constexpr int Return = 0x0D;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int Digit0 = 0x30;  // '0'..'9' = 0x30..0x39
inline constexpr int A = 0x41;       // 'A'..'Z' = 0x41..0x5A
inline constexpr int Numpad0 = 0x60; // numeric pad 0..9 = 0x60..0x69
inline constexpr int Multiply = 0x6A;
inline constexpr int Add = 0x6B;
inline constexpr int Subtract = 0x6D;
inline constexpr int Decimal = 0x6E;
inline constexpr int Divide = 0x6F;
inline constexpr int F1 = 0x70;      // F1..F12 = 0x70..0x7B
inline constexpr int OemPlus = 0xBB;
inline constexpr int OemMinus = 0xBD;
} // namespace vk

// The virtual-key code of a key event, 0 for keys without one. Shift,
// control and alternate states do not change the code: shift+F is F.
// Numeric-pad keys give their numeric-pad codes; with NumLock off the pad's
// 5 arrives as Clear and its 7 as Home.
int virtualKey(const QKeyEvent& event);
int virtualKey(int qtKey, bool keypad);

} // namespace vv
