#include "index/preview_rules.h"

#include <QColor>
#include <gtest/gtest.h>

#include "index/frame_source.h"

namespace vv {
namespace {

TEST(PreviewRules, StepRoundsHalfToEvenAndIsAtLeastOne)
{
    struct Row {
        std::int64_t frames;
        std::optional<std::int16_t> step;
    };
    const Row rows[] = {
        {1000, 62} /* 62.5 */, {1016, 64},  {1600, 100},  {28, 2},    {24, 2} /* 1.5 */, {40, 2} /* 2.5 */,
        {8, 1} /* 0.5 -> 0, raised to 1 */, {1, 1},       {0, 1},     {15000, 938} /* 937.5 */, {524279, 32767},
        {524280, std::nullopt} /* 32767.5 -> 32768: beyond 16 bits */, {3000000000LL, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(previewStep(row.frames), row.step) << row.frames;
}

TEST(PreviewRules, WorkedExamplesOfTheSceneChoice)
{
    struct Row {
        std::int32_t frames;
        int scenes;  // filled by the loop, at 0, step, 2 x step ...
        PreviewCandidate lastAsked;
        bool lastFrameFills;
    };
    const Row rows[] = {
        {1000, 16, {992, 992}, false},   // 992 is asked for but not needed
        {1600, 16, {1600, 1599}, false}, // 1600 is asked for as the last frame, 1599, and not needed
        {28, 15, {28, 27}, true},        // the last of fifteen asked as frame 27; the last frame fills scene 15
        {8, 9, {8, 7}, false},           // nine scenes of one frame each; more than one missing
        {250, 16, {240, 240}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frames);
        const std::int16_t step = *previewStep(row.frames);
        const auto candidates = previewCandidates(row.frames, step);
        EXPECT_EQ(candidates.back(), row.lastAsked);
        for (const auto& c : candidates)
            EXPECT_EQ(c.frame, std::min(c.position, row.frames - 1));
        const auto scenes = assignScenes(candidates, std::vector<bool>(candidates.size(), true));
        ASSERT_EQ(static_cast<int>(scenes.size()), row.scenes);
        for (int k = 0; k < row.scenes; ++k) {
            EXPECT_EQ(scenes[k].scene, k);
            EXPECT_EQ(scenes[k].candidate.position, k * step);
            EXPECT_EQ(candidates[scenes[k].candidateIndex], scenes[k].candidate);
        }
        EXPECT_EQ(lastFrameFillsIn(row.scenes), row.lastFrameFills);
    }
}

TEST(PreviewRules, UndeliveredFramesDoNotUseUpASceneNumber)
{
    const auto candidates = previewCandidates(1000, 62);  // 17 candidates
    std::vector<bool> accepted(candidates.size(), true);
    accepted[3] = false;
    const auto scenes = assignScenes(candidates, accepted);
    ASSERT_EQ(scenes.size(), 16u);
    EXPECT_EQ(scenes[3].candidate.position, 248);   // 186 was skipped
    EXPECT_EQ(scenes[15].candidate.position, 992);  // the spare one is used after all
    accepted[7] = false;                            // two missing now: no spare left
    EXPECT_EQ(assignScenes(candidates, accepted).size(), 15u);
    // Candidates not tried yet count as not delivered.
    EXPECT_EQ(assignScenes(candidates, {true, false, true}).size(), 2u);
}

TEST(PreviewRules, LoadedPositionsCellsAndSheetNames)
{
    EXPECT_EQ(loadedScenePosition(15, 1000), 930);
    EXPECT_EQ(loadedScenePosition(15, 8), 0);    // 0.5 -> 0
    EXPECT_EQ(loadedScenePosition(15, 24), 30);  // 1.5 -> 2
    EXPECT_EQ(loadedScenePosition(15, 2000000000), 15 * 125000000);
    for (const auto& [k, left, top] : {std::tuple{0, 0, 0}, {5, 160, 120}, {11, 480, 240}, {15, 480, 360}})
        EXPECT_EQ(sheetCell(k), QRect(left, top, 160, 120)) << k;
    EXPECT_EQ(sheetCell(6, 10, 20), QRect(20, 20, 10, 20));

    const std::tuple<const char*, const char*, const char*> names[] = {
        {"/videos/clip.MPG", "/videos/clip.bmp", "/videos/clip.bmp"},
        {"/videos/clip.webm", "/videos/clip.bmp", "/videos/clip.bmp"},
        {"/v.x/film.ts", "/v.x/filmbmp", "/v.x/fil.bmp"},
        {"/v.mpeg/a", "/v.mpebmp", "/v.mp.bmp"},
        {"ab", "bmp", ".bmp"},
    };
    for (const auto& [video, read, written] : names) {
        EXPECT_EQ(previewSheetReadName(video), read) << video;
        EXPECT_EQ(previewSheetWriteName(video), written) << video;
    }
}

TEST(PreviewRules, PackedBitmapsRoundTripAndReadTopDownAndThirtyTwoBitOnesTheRightWayUp)
{
    QImage picture(7, 3, QImage::Format_RGB888);  // rows of 21 bytes, padded to 24
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            picture.setPixelColor(x, y, QColor(30 * x, 70 * y, 10 + x + y));
    const QByteArray packed = packedDibFromImage(picture);
    ASSERT_EQ(packed.size(), 40 + 24 * 3);
    // Bottom-up, blue first: the first pixel stored is the bottom left one.
    EXPECT_EQ(packed.mid(40, 2), QByteArray("\x0c\x8c"));
    EXPECT_EQ(imageFromPackedDib(packed.constData(), packed.size()), picture);
    EXPECT_TRUE(imageFromPackedDib(packed.constData(), packed.size() - 1).isNull());

    // Two rows of one pixel, 32 bits (blue, green, red, unused), top row first.
    QByteArray top = packedDibHeader(1, -2) + QByteArray("\1\2\3\0\4\5\6\x7f", 8);
    top[14] = 32;
    const QImage image = imageFromPackedDib(top.constData(), top.size());
    ASSERT_EQ(image.size(), QSize(1, 2));
    EXPECT_EQ((std::vector{image.pixel(0, 0), image.pixel(0, 1)}), (std::vector{qRgb(3, 2, 1), qRgb(6, 5, 4)}));

    // A side of up to 65535 pixels is read, a longer one refused.
    for (const int height : {65535, 65536}) {
        const QByteArray tall = packedDibHeader(1, height) + QByteArray(4 * height, '\0');
        EXPECT_EQ(imageFromPackedDib(tall.constData(), tall.size()).height(), height == 65535 ? height : 0);
    }
}

TEST(PreviewRules, SheetHoldsEachSceneInItsCell)
{
    QList<QImage> scenes;
    for (int k = 0; k < 16; ++k) {
        QImage scene(320, 240, QImage::Format_RGB32);
        scene.fill(QColor(k * 16, 255 - k * 16, (k % 4) * 60));
        scenes.append(k == 9 ? QImage() : scene);  // scene 9 never got a picture
    }
    const QList<QImage> cells = cutPreviewSheet(buildPreviewSheet(scenes));
    ASSERT_EQ(cells.size(), 16);
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(cells[k].size(), QSize(160, 120));
        const QColor expected = k == 9 ? QColor(Qt::black) : scenes[k].pixelColor(0, 0);
        for (const QPoint p : {QPoint(0, 0), QPoint(159, 119)})
            EXPECT_EQ(cells[k].pixelColor(p), expected);
    }
}

} // namespace
} // namespace vv
