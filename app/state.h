#pragma once
// The process-wide state of the player: one object, owned by the App, alive
// for the whole run. Names are those used throughout the player.
//
// Flags that the player keeps as "-1 = true, 0 = false" elsewhere are plain
// bools here.

#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <cstdint>

namespace vv {

struct AppState {
    // Start-up and settings
    QString ProgramDir;      // directory of the program, ends in "/"
    QString SettingsFile;    // ProgramDir + "settings.ini"
    QString VideoDir;        // start directory of the video scan; "" = not configured
    QString CDROMDir;
    QString MP3Dir;
    std::int16_t VideoLeft = 0, VideoTop = 0, VideoWidth = 0, VideoHeight = 0;  // twips
    std::int16_t SceneWindowCount = 16;
    std::int16_t IndexCellWidth = 2400;   // 160 pixels, twips
    std::int16_t IndexCellHeight = 1800;  // 120 pixels, twips

    // Main window modes
    std::int16_t FullScreenMode = 0;  // -1 while full screen or picture in picture
    std::int32_t SavedWindowLeft = 0, SavedWindowTop = 0, SavedWindowWidth = 0,
                 SavedWindowHeight = 0;  // twips

    // Time base of the loaded video
    std::int32_t DurationFrames = 0;
    std::int32_t DurationSeconds = 0;
    std::int16_t FrameRate = 0;
    std::int16_t TimeDisplayCountdown = 0;

    // Loading and playlist
    QString LoadedVideo;
    QString ScriptFile;
    QString CurrentVideo;

    // On-screen displays
    std::int16_t InfoDisplayCountdown = 0;
    std::int16_t MessageDisplayCountdown = 0;

    // Picture zoom
    std::int16_t ZoomPercent = 100;

    // Marks
    std::int32_t MarkIn = -1;
    std::int32_t MarkOut = -1;

    // Overlays: 0 none, 1 navigation, 3 a selection window, 6 interaction
    std::int16_t ActiveMode = 0;
    std::int16_t SceneStripFirst = -1;

    // Position slider
    bool SliderDrag = false;

    // Crazy vision
    std::int16_t crazyvision = 0;
    bool motionstop = false;

    // ACDC simulator
    bool ACDCactive = false;
    QString ACDCstate;

    // Scene index
    QString LastLoadedSheet;             // preview sheet cut up last
    std::int16_t SelectedScene = -1;     // scene picture marked last (-1: none yet)
    std::int32_t sliderindex = 0;        // list index the fast-scroll bar reached last

    // Data safety, for the rest of the run
    enum class ScriptGuard {
        Blocked,      // the list read does not hold the whole file: never written
        BackupFirst,  // the file held lines that are no entries: kept as .bak first
    };
    QHash<QString, ScriptGuard> ScriptGuards;  // by script path
    QHash<QString, QImage> UnsavedSheets;      // by sheet path: sheets that could not be written
    QSet<QString> UnsavedSheetFolders;         // folders whose sheet failure has been shown
};

} // namespace vv
