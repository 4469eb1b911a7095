#pragma once
// Where the SELECT INDEX grid puts the scene pictures: four rows of four
// cells over the video window, without the windows. Lengths are twips in the
// main window's client area; every fraction is rounded half to even.

#include <QRect>
#include <QVector>

namespace vv {

// The cell of scene picture k (row k / 4, place k % 4) for every k in
// 0 .. sceneCount - 1, over a video window at the given rectangle:
//   w = round(player width / 6), h = round(w * 3 / 4);
//   x0 = round((player width - (4 w + 800)) / 2 + player left),
//   y0 = round((player height - (4 h + 800)) / 2 + player top);
//   cell 4r + c: left x0 + c (w + 200), top y0 + r (h + 200), w x h.
// The grid with its three 200-twip gaps is 4 w + 600 wide, so it stands
// 100 twips left of and above the centre of the video window.
QVector<QRect> indexGridCells(const QRect& playerTwips, int sceneCount);

} // namespace vv
