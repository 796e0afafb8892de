#pragma once
// Plain value types and constants shared by the user-interface layer: colours
// in the 0x00BBGGRR layout, rectangles and points, shift states, key codes,
// mouse buttons, cursors and the handler types of controls and forms.
//
// The layer speaks the words of a Windows form framework (TLabel, Left, Tag,
// Canvas, ...) over Qt 6. Properties are read with a getter named like the
// property (`Left()`) and written with `Set` + the name (`SetLeft(10)`);
// sub-objects (Font, Brush, Pen, Canvas, Picture) are reached through pointer
// getters (`Label->Font()->SetColor(clWhite)`).

#include <cstdint>
#include <functional>

namespace platform {

// ---- Colours --------------------------------------------------------------

// A 24-bit colour laid out 0x00BBGGRR: red in the low byte. The high byte is
// ignored when drawing.
using TColor = std::uint32_t;

constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return int((c >> 16) & 0xFF);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
// The face colour of dialogs and panels (a light grey).
constexpr TColor clBtnFace = 0xF0F0F0;

// ---- Geometry -------------------------------------------------------------

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

// A rectangle whose right and bottom edges lie just outside it, as everywhere
// in this layer: Rect(0, 0, 2, 2) covers the four pixels (0..1, 0..1).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int x, int y) {
    return TPoint{x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// ---- Keyboard and mouse ---------------------------------------------------

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};

// The modifier keys and mouse buttons held during an event.
struct TShiftState {
    unsigned Bits = 0;
    bool Contains(TShiftFlag flag) const { return (Bits & flag) != 0; }
    bool Empty() const { return Bits == 0; }
    TShiftState operator|(TShiftFlag flag) const { return TShiftState{Bits | flag}; }
    bool operator==(const TShiftState&) const = default;
};
inline TShiftState Shift(unsigned bits) {
    return TShiftState{bits};
}

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Key codes are Windows virtual-key numbers; letters are 'A'..'Z' and digits
// '0'..'9', whatever the shift state.
using WORD = std::uint16_t;
constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_SHIFT = 0x10;
constexpr WORD VK_CONTROL = 0x11;
constexpr WORD VK_MENU = 0x12; // Alt
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_ADD = 0x6B;      // '+' (main keyboard or number pad)
constexpr WORD VK_SUBTRACT = 0x6D; // '-' (main keyboard or number pad)
constexpr WORD VK_F1 = 0x70;
constexpr WORD VK_F2 = 0x71;
constexpr WORD VK_F3 = 0x72;
constexpr WORD VK_F4 = 0x73;
constexpr WORD VK_F5 = 0x74;
constexpr WORD VK_F6 = 0x75;
constexpr WORD VK_F7 = 0x76;
constexpr WORD VK_F8 = 0x77;
constexpr WORD VK_F9 = 0x78;
constexpr WORD VK_F10 = 0x79;
constexpr WORD VK_F11 = 0x7A;
constexpr WORD VK_F12 = 0x7B;

enum class TCursor { crDefault, crHandPoint, crArrow, crHourGlass };
using enum TCursor;

// ---- Handlers -------------------------------------------------------------

class TObject;

// Handlers receive the control that raised the event as Sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Setting Key to 0 consumes the key.
// The wheel turned by `Steps` notches: positive away from the user (up).
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int Steps)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

// The root of every object that can be the sender of an event.
class TObject {
public:
    virtual ~TObject() = default;
};

} // namespace platform
