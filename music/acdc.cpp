#include "music/acdc.h"

#include "app/app.h"
#include "app/atomic_file.h"
#include "music/acdc_tables.h"
#include "music/music_window.h"
#include "video/displays.h"
#include "video/loading.h"

namespace vv {

namespace {

// One draw from the process's random generator, reseeded from the clock.
float freshRandom(App& app)
{
    app.sv.randomize();
    return app.sv.rnd();
}

// Loads the concert video at a random intro scene. False when there is no
// concert video to play (the simulation then does not start).
bool startSimulation(App& app)
{
    AppState& st = app.st;
    const QString concert = concertVideoPath(st.MP3Dir);
    if (!FileExists(concert)) {
        app.InfoDisplay().INITIALIZE(ConcertVideoMissingText, 3);
        return false;
    }
    app.MessageDisplay().INITIALIZE(QStringLiteral("INITALIZING ACDC SIMULATOR"), 3);
    app.InfoDisplay().INITIALIZE(QStringLiteral("ACDC SIMULATION ON"), 2);
    st.ACDCactive = true;
    // The loading notice names the concert, not the video played before.
    st.CurrentVideo = concert;
    INITIALIZEvideo(app, concert, GETacdcINTROSZENE(app));
    app.MessageDisplay().hide();
    // A concert video the player cannot open leaves nothing loaded: there is
    // nothing to cut through.
    if (st.LoadedVideo != concert) {
        st.ACDCactive = false;
        return false;
    }
    return true;
}

} // namespace

std::int32_t GETacdcINTROSZENE(App& app)
{
    return acdcIntroScene(acdcDraw(freshRandom(app), static_cast<int>(AcdcIntroScenes.size())));
}

std::int32_t GETacdcENDSZENE(App& app)
{
    return acdcClosingScene(acdcDraw(freshRandom(app), static_cast<int>(AcdcClosingSceneStarts.size())),
                            app.st.FrameRate);
}

std::int32_t GETacdcSTARTactionSZENE(App& app)
{
    return acdcActionScene(acdcDraw(freshRandom(app), static_cast<int>(AcdcActionScenes.size())));
}

void ACDCenterFile(App& app, const QString& Datei)
{
    AppState& st = app.st;
    if (acdcTakesPart(Datei)) {
        // A running simulation goes on; a concert video that is loaded
        // without a running simulation stays as it is.
        if (!acdcTakesPart(st.LoadedVideo) && !st.ACDCactive)
            startSimulation(app);
    } else if (st.ACDCactive) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("ACDC SIMULATION OFF"), 2);
        app.MessageDisplay().INITIALIZE(QStringLiteral("EXITING ACDC SIMULATOR - BASTARD!"), 3);
        st.ACDCactive = false;
    }
    if (!st.ACDCactive)
        return;
    st.ACDCstate = AcdcStarting;
    GOTOposition(app, GETacdcINTROSZENE(app));
    MediaPlayer& video = app.video();
    video.setMute(false);
    video.setVolume(AcdcStartVolume);
}

void ACDCtick(App& app)
{
    AppState& st = app.st;
    // Nothing to follow while no simulation runs, or while a song is being
    // entered (the concert video may be loading; the song is not there yet).
    if (!st.ACDCactive || app.FormMP3().enteringSound())
        return;
    MediaPlayer& music = app.music();
    MediaPlayer& video = app.video();

    // Fade the concert sound five seconds into the song, then cut it and
    // the picture to an action scene.
    if (music.currentPosition() > AcdcFadeStartSeconds && !video.mute()) {
        video.setVolume(acdcFadedVolume(video.volume()));
        if (acdcFadeEnded(video.volume())) {
            video.setMute(true);
            GOTOposition(app, GETacdcSTARTactionSZENE(app));
        }
    }

    // The closing scene, once per song, shortly before the song ends.
    if (music.length() - AcdcClosingSeconds < music.currentPosition() && st.ACDCstate != AcdcEnding) {
        GOTOposition(app, GETacdcENDSZENE(app));
        st.ACDCstate = AcdcEnding;
    }

    // The next song at the end of this one.
    if (st.ACDCactive && music.currentPosition() >= music.length()) {
        MusicWindow& window = app.FormMP3();
        window.InitializeSound(window.getNEXTfromPLAYLIST());
    }
}

} // namespace vv
