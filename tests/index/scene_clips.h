#pragma once
// Test clips for the scene index, copied into a test's own folder (the index
// writes its sheet beside the video, and the catalogue's clips are shared by
// every test program), and a long clip whose grab takes long enough for
// window events to run in the middle of it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "tests/support/test_media.h"
#include "tools/mediamaker/mediamaker.h"

namespace vv::test {

// A clip's name as a test's name: "open-gop.avi" is open_gop_avi.
inline std::string clipTestName(std::string name)
{
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

// Copies catalogue clip `name` to dir + targetName; returns the copy's path.
inline QString copyClip(const QString& name, const QString& dir, const QString& targetName = QString())
{
    const QString source = testMedia(name);
    const QString target = dir + (targetName.isEmpty() ? name : targetName);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (source.isEmpty() || !QFile::copy(source, target))
        ADD_FAILURE() << "cannot copy " << name.toStdString() << " to " << target.toStdString();
    return target;
}

// 4000 frames of 320x240 at 25 fps with a keyframe every 300 frames, made
// at path: the sixteen scenes (every 250th frame) lie far from their
// keyframes, so the grab decodes a few thousand pictures.
inline QString longClip(const QString& path)
{
    EXPECT_TRUE(vvmaker::makeVideo(path.toStdString(), {.frames = 4000, .gopSize = 300, .audio = false, .progress = {}}));
    return path;
}

} // namespace vv::test
