#include "control/virtual_keys.h"

#include <QKeyEvent>

namespace vv {

int virtualKey(const QKeyEvent& event)
{
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    // The digit row by its physical place (X keycodes 10..19 are 1..9, 0),
    // so that shift+digit is the digit whatever the keyboard layout.
    const quint32 scan = event.nativeScanCode();
    if (!keypad && scan >= 10 && scan <= 19)
        return vk::Digit0 + static_cast<int>((scan - 9) % 10);
    return virtualKey(event.key(), keypad);
}

int virtualKey(int key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return vk::Numpad0 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Plus: return vk::Add;
        case Qt::Key_Minus: return vk::Subtract;
        case Qt::Key_Asterisk: return vk::Multiply;
        case Qt::Key_Slash: return vk::Divide;
        case Qt::Key_Period:
        case Qt::Key_Comma: return vk::Decimal;
        case Qt::Key_Enter: return vk::Return;
        default: break;  // navigation keys of the pad (NumLock off) below
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return vk::A + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::Digit0 + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return vk::F1 + (key - Qt::Key_F1);
    switch (key) {
    // Shifted digits of a US layout keep the digit's code.
    case Qt::Key_Exclam: return vk::Digit0 + 1;
    case Qt::Key_At: return vk::Digit0 + 2;
    case Qt::Key_NumberSign: return vk::Digit0 + 3;
    case Qt::Key_Dollar: return vk::Digit0 + 4;
    case Qt::Key_Percent: return vk::Digit0 + 5;
    case Qt::Key_AsciiCircum: return vk::Digit0 + 6;
    case Qt::Key_Ampersand: return vk::Digit0 + 7;
    case Qt::Key_Asterisk: return vk::Digit0 + 8;
    case Qt::Key_ParenLeft: return vk::Digit0 + 9;
    case Qt::Key_ParenRight: return vk::Digit0 + 0;
    case Qt::Key_Clear: return vk::Clear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::PageUp;
    case Qt::Key_PageDown: return vk::PageDown;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return vk::OemPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vk::OemMinus;
    default: return 0;
    }
}

} // namespace vv
