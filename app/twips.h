#pragma once
// Window geometry is kept in twips, 1/1440 inch, as the stored settings and
// all layout rules use it. One logical pixel is 15 twips.

#include <QRect>
#include <QWidget>

#include "app/numbers.h"

namespace vv {

inline constexpr int TwipsPerPixel = 15;

// Twips to whole pixels, rounded half to even.
inline int px(double twips) { return static_cast<int>(roundEven(twips / TwipsPerPixel)); }
// Pixels to twips (exact).
inline int tw(int pixels) { return pixels * TwipsPerPixel; }

// Place a widget (inside its parent) at a rectangle given in twips.
inline void setGeometryTw(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}
inline void moveTw(QWidget* w, double left, double top) { w->move(px(left), px(top)); }

inline int leftTw(const QWidget* w) { return tw(w->x()); }
inline int topTw(const QWidget* w) { return tw(w->y()); }
inline int widthTw(const QWidget* w) { return tw(w->width()); }
inline int heightTw(const QWidget* w) { return tw(w->height()); }

} // namespace vv
