#pragma once
// Where the overlay displays put their windows, without the windows: the
// INTERACT grid (which script entries it shows, their captions, the grid of
// three rows of three cells over the bottom of the video window) and the
// NAVIGATE strip (which scene pictures stand above the position slider).
// Every length is in twips; every fraction is rounded half to even.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace vv {

// ------------------------------------------------------------ INTERACT grid

inline constexpr int InteractionWindowCount = 9;

// The current entry for a position: the last entry, scanning from the top,
// whose start frame (the leading number; the PREVIOUS VIDEO pseudo-entry
// reads 0) is not greater than position; the scan stops at the first entry
// that starts later. 0 when none qualifies (also for an empty list).
int currentEntryIndex(const QStringList& entries, std::int32_t position);

// The entries the grid shows: all of them when there are at most nine,
// otherwise the nine around current (current - 4 .. current + 4) pushed back
// inside the list at either end. last < first for an empty list.
struct EntryRange {
    int first = 0;
    int last = -1;
    int count() const { return last - first + 1; }
};
EntryRange shownEntryRange(int count, int current);

// The text a window shows for an entry: "PREVIOUS VIDEO" and "NEXT VIDEO"
// for the pseudo-entries, otherwise the description (empty for an entry too
// short to have one).
QString interactionText(const QString& entry);
// "3. Refrain": the window's number (window + 1), ". ", the text.
QString interactionCaption(int window, const QString& entry);
// The window's tool tip: the entry's list index with its leading blank (" 3").
QString interactionToolTip(int index);

// Rows the grid needs for a number of shown entries: 1 for 1..3, 2 for 4..6,
// 3 for more (and 1 for none).
int interactionRows(int shownEntries);

struct CellRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The nine cells, window 3r + c in row r, place c. Cell width
// w = round(round(playerWidth - 500) / 3), height h = round(windowHeight);
// the top row starts at playerHeight - rows h - rows 100, so rows the
// entries do not need lie below the video window's bottom edge.
std::array<CellRect, InteractionWindowCount> interactionGrid(double playerWidth, double playerHeight,
                                                              double windowHeight, int shownEntries);

// ------------------------------------------------------------ NAVIGATE strip

// 7 pictures on a main window narrower than 1024 pixels, otherwise 9.
int navigationPictureCount(int mainWindowWidthPixels);

struct NavigationStrip {
    int pictures = 0;  // n
    int current = 0;   // s: the scene picture of the position, 0..sceneCount-1
    int first = 0;     // the scene picture shown leftmost
    double width = 0;  // of each picture
    double height = 0;
    double top = 0;    // the slider's top minus the picture height

    // The picture at place k of the strip.
    int sceneAt(int k) const { return first + k; }
    double leftAt(int k) const { return k * width; }
};

// The strip for a position: spacing = round(durationFrames / sceneCount),
// s = round(position / spacing); n pictures centred on s (first = s - (n-1)/2
// rounded), pushed back inside 0..sceneCount-1 at either end; each picture
// round(playerWidth / n) wide and round(w * 3 / 4) high, standing on the
// slider (top = round(sliderTop - h)).
//
// Videos shorter than sceneCount frames have a spacing of 0: every frame is
// then its own scene. The current scene is kept inside the pictures that
// exist (the last frames of a video round to one past the last picture), and
// a strip longer than the pictures there are is shortened to their number.
NavigationStrip navigationStrip(int mainWindowWidthPixels, std::int32_t durationFrames, int sceneCount,
                                std::int32_t position, double playerWidth, double sliderTop);

} // namespace vv
