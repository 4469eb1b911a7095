#pragma once
// The look of the player's windows: their colours, and captions that keep to
// the controls the layouts give them.

#include <QColor>
#include <QFont>
#include <QWidget>

namespace vv {

// The grey of every window and control strip.
inline const QColor LightGrey{0xE0, 0xE0, 0xE0};

// Fills the widget's background with `background`; `text`, when valid,
// becomes the colour of its text.
void setColours(QWidget* w, const QColor& background, const QColor& text = QColor());

// The type of a control as its layout names it: family, points, weight.
QFont designFont(const QString& family, double points, bool bold = false);

// The fonts of this platform run wider than the ones the layouts were drawn
// with: shrinks the control's font a quarter point at a time (down to 6
// points) until its caption is no longer cut. Labels, check boxes, option
// and push buttons; other widgets are left alone.
void fitCaption(QWidget* w);

// A caption or message as Qt shows it: the player's line breaks (CR, or
// CR LF) become line feeds.
QString withLineFeeds(const QString& text);

} // namespace vv
