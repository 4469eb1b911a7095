// Marks, LEARN, DEL and descriptions; executing entries, the INTERACT grid, the NAVIGATE strip and the
// position slider, on the scripted player.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "app/main_window.h"
#include "app/numbers.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/transport.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/mark_rules.h"
#include "script/marks.h"
#include "script/overlays.h"
#include "script/script_entries.h"
#include "script/slider_window.h"
#include "script/text_entry_dialog.h"
#include "tests/support/app_fixture.h"
#include "tests/support/unprivileged.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

TEST(MarkRules, LearnedEntryIsAJumpForAStartALoopForBothOrAJumpToThePosition)
{
    // in, out, position -> the entry; nullptr: not learned (six digits cannot hold a frame)
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, const char*> rows[] = {
        {100, -1, 500, "000100-000100 JUMP "}, {100, 300, 500, "000100-000300 LOOP "},
        {-1, -1, 500, "000500-000500 JUMP "}, {-1, 300, 500, "000500-000500 JUMP "},  // an end alone is no mark
        {200, 200, 0, "000200-000200 LOOP "}, {0, 999999, 5, "000000-999999 LOOP "},
        {-1, -1, 1000000, nullptr}, {5, 1000000, 0, nullptr}, {1000000, -1, 0, nullptr},
    };
    for (const auto& [in, out, position, entry] : rows) {
        const QString learned = learnedEntry(in, out, position).value_or(QStringLiteral("none"));
        EXPECT_EQ(learned, QString::fromLatin1(entry ? entry : "none")) << in << " " << out << " " << position;
    }
}

class ScriptWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
        for (int i = 0; i < 16; ++i)
            app->FormImage(i);  // created, as start-up creates them
    }
    void load()
    {
        INITIALIZEvideo(*app, video, 0);
        ASSERT_EQ(app->st.LoadedVideo, video);
    }
    ControlPanel& menu() { return app->menu(); }
    ScriptListBox& list() { return *app->menu().ListSCRIPT; }
    CommandWindow& window(int k) { return app->FormCommand(k); }
    // The captions of the interaction windows, the one framed in red marked.
    QStringList captions()
    {
        QStringList texts;
        for (int k = 0; k < 9; ++k)
            texts << window(k).Label1->text() + (window(k).Shape1->isHidden() ? "" : " [red]");
        return texts;
    }
    // The scene windows shown, and the one framed in red after a '|'.
    QString strip()
    {
        QString shown, framed;
        for (int i = 0; i < 16; ++i) {
            shown += app->FormImage(i).isVisible() ? QString::number(i) + " " : QString();
            framed += app->FormImage(i).Shape1->isHidden() ? QString() : QString::number(i);
        }
        return shown + "| " + framed;
    }
    void clickAt(double frame, QPushButton* button)
    {
        player().setFramePosition(frame);
        button->click();
    }
    QByteArray scriptBytes() { return readFile(app->st.ScriptFile); }
    SliderWindow& slider() { return app->FormSlider(); }
    QWidget* bar() { return slider().SliderPicture; }
    bool ticking() { return app->Player().Timer1.isActive(); }
    // A press, a move with the left button held (QTest's own moves carry no
    // buttons) or a release at x on a part of the slider.
    void mouse(QEvent::Type type, int x, QWidget* on = nullptr)
    {
        on = on ? on : bar();
        const QPointF local(x, 5);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, on->mapToGlobal(local), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &event);
    }
    // The right end of a button on the slider, as a share of the bar.
    double endOf(QPushButton* button) { return (button->geometry().right() + 1.0) / bar()->width(); }

    QString video;
};

TEST_F(ScriptWindowTest, TheGridAndTheStripShowTheEntriesAndScenesAroundThePositionAndExecuteThem)
{
    load();
    for (int f = 20; f <= 220; f += 20)
        list().addEntry(formatEntry(f, f, EntryAction::Jump, QStringLiteral("at %1").arg(f)));
    player().setFramePosition(230);  // current: "at 220", index 12
    SHOWinteraction(*app);
    EXPECT_EQ(std::tuple(app->st.ActiveMode, infoText(), app->st.InfoDisplayCountdown),
              std::tuple(6, QStringLiteral("INTERACT"), -1));  // stays until hidden
    EXPECT_EQ(captions(), QStringList({"1. at 100", "2. at 120", "3. at 140", "4. at 160", "5. at 180", "6. at 200",
                                       "7. at 220 [red]", "8. End of video", "9. NEXT VIDEO"}));
    // A click performs the entry of its window; the grid is rebuilt around the new position.
    QTest::mouseClick(window(1).Label1, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 120);
    EXPECT_EQ(captions().at(4), QStringLiteral("5. at 120 [red]"));

    // A window whose entry is gone since the grid was built performs nothing, nor do windows
    // without an entry and the digit 0.
    for (int i = 0; i < 12; ++i)
        list().removeEntry(1);
    const auto seeks = player().seeks.size();
    window(5).DOcommandACTION();
    KEYcommand(*app, vk::Digit0 + 7);
    KEYcommand(*app, vk::Digit0);
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_EQ(window(5).Label1->text(), QString());  // the grid is rebuilt for the list as it is now
    QTest::keyClick(&window(0), Qt::Key_E);  // other keys go to the key map: E closes the grid
    EXPECT_FALSE(window(0).isVisible());

    // A click into the video opens the panels and the NAVIGATE strip: its pictures stand on the slider,
    // follow every seek, and their digits go to their scenes. The next click closes them, as the
    // pseudo-entries do.
    app->MDI().resize(1024, 768);
    player().setPictureRect(QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()));
    GOTOposition(*app, 16);  // scene 1
    for (int i = 0; i < 16; ++i)
        app->FormImage(i).show();  // the index grid's pictures left up do not stay among the strip's
    QTest::mouseClick(player().widget(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(std::tuple(infoText(), app->st.ActiveMode, app->st.TimeDisplayCountdown <= 0, list().isVisible()),
              std::tuple(QStringLiteral("NAVIGATE"), 1, true, true));  // the time code stays up
    EXPECT_EQ(strip(), QStringLiteral("0 1 2 3 4 5 6 7 8 | 1"));  // nine from 1024 pixels
    EXPECT_NEAR(app->FormImage(8).geometry().bottom() + 1, app->FormSlider().y(), 1);
    GOTOposition(*app, 128);  // scene 8: the strip shows scenes 4 to 12
    EXPECT_EQ(strip(), QStringLiteral("4 5 6 7 8 9 10 11 12 | 8"));
    KEYcommand(*app, vk::Digit0 + 9);
    EXPECT_EQ(player().framePosition(), leadingNumber(app->FormImage(12).Image1->toolTip()));
    QTest::mouseClick(player().widget(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(std::tuple(app->st.ActiveMode, list().isVisible(), app->TimeDisplay().isVisible(), strip().at(0)),
              std::tuple(0, false, false, QChar(u'|')));

    // The NEXT VIDEO entry loads from the playlist and closes the overlays.
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("b.avi"));
    scanVideos();
    app->DATEIMENU().select(1);  // b.avi
    app->menu().INITIALIZE();
    SCRIPTaction(*app, NextVideoEntry);
    EXPECT_EQ(std::pair(app->st.LoadedVideo, app->menu().isVisible()), std::pair(video, false));
}

TEST_F(ScriptWindowTest, LifeCycleOfTheMarksAndTheMarkCaption)
{
    app->MDI().resize(1024, 768);  // wide enough for the panel's marking group
    // Marking and learning need a video.
    menu().pressMARK();  // the L key
    CommandLEARN_Click(*app);
    EXPECT_EQ(std::tuple(app->st.MarkIn, infoText(), list().entries().count()),
              std::tuple(-1, QStringLiteral("LOAD VIDEO FIRST!"), 0));
    EXPECT_FALSE(menu().CommandMarkIN->isEnabled() || menu().CommandLEARN->isEnabled());

    // The IN and OUT buttons on the slider show where a mark is set.
    enum class Op { In, Out, Mark, Reset, Entry, Load };
    struct Step {
        Op op;
        double position;
        const char* entry;  // for Op::Entry
        std::int32_t in, out;
        const char *caption, *info;  // info: "-" when nothing was shown, nullptr when not looked at
        bool outEnabled, markEnabled;
    } const steps[] = {
        // The MARK button alone (the L key).
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, false},
        {Op::Mark, 100, nullptr, 100, -1, "SET END", "START SET", false, false},
        {Op::Mark, 50.5, nullptr, 50, 100, "RESET", "LOOPING", false, false},  // ordered; 50.5 -> 50
        {Op::Mark, 70, nullptr, -1, -1, "SET START", "RESET", false, false},
        {Op::Reset, 70, nullptr, -1, -1, "SET START", "-", false, false},  // nothing to reset
        {Op::Mark, 33.5, nullptr, 34, -1, "SET END", "START SET", false, false},  // 33.5 -> 34
        // IN and OUT.
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, false},
        {Op::In, 40, nullptr, 40, -1, "SET END", "START SET", true, true},
        {Op::Out, 80, nullptr, 40, 80, "RESET", "LOOPING", true, true},
        {Op::In, 120, nullptr, 120, 80, "SET END", "START SET", true, true},  // not reordered
        {Op::Out, 60, nullptr, 60, 120, "RESET", "LOOPING", true, true},      // ordered
        {Op::Mark, 150, nullptr, -1, -1, "SET START", "RESET", false, true},  // MARK stays enabled
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, true},
        // Executing entries.
        {Op::Entry, 100, "000010-000020 LOOP x", 10, 20, "RESET", "LOOPING", true, true},
        {Op::Entry, 30, "000040-000040 LOOP one frame", -1, -1, "SET START", "RESET", false, true},
        {Op::Entry, 40, "000050-000050 JUMP ", -1, -1, "SET START", "JUMPING", false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps);
        player().setFramePosition(step.position);
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        switch (step.op) {
        case Op::In: menu().CommandMarkIN->click(); break;
        case Op::Out: menu().CommandMarkOUT->click(); break;
        case Op::Mark: menu().pressMARK(); break;
        case Op::Reset: RESETmarks(*app); break;
        case Op::Entry: SCRIPTaction(*app, QString::fromLatin1(step.entry)); break;
        case Op::Load: load(); break;
        }
        const bool slid = app->hasFormSlider();
        EXPECT_EQ(std::tuple(app->st.MarkIn, app->st.MarkOut, menu().CommandMARK->text(),
                             step.info ? infoText() : QString(), menu().CommandMarkOUT->isEnabled(),
                             menu().CommandMARK->isEnabled(), slid && !slider().CommandMarkIN->isHidden(),
                             slid && !slider().CommandMarkOUT->isHidden()),
                  std::tuple(step.in, step.out, QString::fromLatin1(step.caption), QString::fromLatin1(step.info),
                             step.outEnabled, step.markEnabled, step.in >= 0, step.out >= 0));
    }
}

// LEARN sorts the entry in and selects it; the right button opens the description dialog for the
// selected entry, wherever the pointer is; the dialog is not modal; DEL selects the entry that moved up.
TEST_F(ScriptWindowTest, LearnDescribeAndDeleteKeepTheSelectionAndScriptsAreNeverShortened)
{
    app->MDI().resize(1024, 768);  // wide enough for the panel's marking group
    load();
    menu().INITIALIZE();
    CommandDELETE_Click(*app);  // nothing selected: nothing happens
    clickAt(100, menu().CommandMarkIN);
    clickAt(180, menu().CommandMarkOUT);
    menu().CommandLEARN->click();
    menu().CommandLEARN->click();  // an equal entry goes right beside it; the marks stay
    EXPECT_EQ(std::pair(list().ListIndex(), app->st.MarkOut), std::pair(3, 180));
    EXPECT_EQ(scriptBytes(), "!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n000100-000180 LOOP \r\n"
                             "000100-000180 LOOP \r\n000250-000250 JUMP End of video\r\n999999 NEXT VIDEO\r\n");

    TextEntryDialog& dialog = app->FormTexteingabe();
    const auto rightPress = [&](int row) {
        QTest::mousePress(list().viewport(), Qt::RightButton, {}, list().visualItemRect(list().item(row)).center());
    };
    list().setListIndex(1);
    rightPress(3);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(std::pair(list().ListIndex(), dialog.Text1->text()), std::pair(1, QStringLiteral("Start of video")));
    list().setListIndex(4);  // selected meanwhile: OK gives the text to it
    dialog.Text1->setText(QStringLiteral("zzz last \r\nline"));
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    const QByteArray edited = "!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n000100-000180 LOOP \r\n"
                              "000100-000180 LOOP \r\n000250-000250 JUMP zzz last   line\r\n999999 NEXT VIDEO\r\n";
    EXPECT_EQ(scriptBytes(), edited);  // in place, not re-sorted; line breaks made blanks

    // OK after a new video was loaded: nothing changes.
    list().setListIndex(2);
    rightPress(2);
    load();
    dialog.Text1->setText(QStringLiteral("stale"));
    dialog.CommandOK_Click();
    EXPECT_EQ(scriptBytes(), edited);

    // DEL selects the entry that moved up, after the last one the first; pseudo-entries go like any
    // other, until nothing is left.
    list().setListIndex(3);
    for (const int selected : {3, 3, 0, 0, 0, -1, -1}) {
        menu().CommandDELETE->click();
        EXPECT_EQ(list().ListIndex(), selected);
    }
    EXPECT_EQ(scriptBytes(), QByteArray());

    // A script that is read only in part, or that cannot be written because the disk is full, is never
    // shortened: LEARN, DEL and OK change the list and say that it was not saved. A user's own text file
    // is kept once as .bak before the repair rewrites it. A position six digits cannot hold is not learned.
    HIDEall(*app);
    video = addVideo(QStringLiteral("long.avi"), 2000000, 80000.0, 25.0);
    load();
    const QByteArray fresh = readFile(dir() + QStringLiteral("long.txt"));
    clickAt(1500000, menu().CommandLEARN);
    EXPECT_EQ(infoText(), QStringLiteral("POSITION TOO LARGE FOR SCRIPT!"));
    EXPECT_EQ(readFile(dir() + QStringLiteral("long.txt")), fresh);

    video = dir() + QStringLiteral("clip.avi");
    QByteArray tooLong = "!00000 PREVIOUS VIDEO\r\n";
    for (int i = 0; i < ScriptList::MaxEntries + 4; ++i)
        tooLong += formatEntry(i, i, EntryAction::Jump).toLatin1() + "\r\n";
    const QString script = writeFile(QStringLiteral("clip.txt"), tooLong);
    load();
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT TOO LONG - NOT ALL ENTRIES LOADED!"));
    list().setListIndex(1);
    CommandDELETE_Click(*app);
    clickAt(42, menu().CommandLEARN);
    list().setListIndex(1);
    TextEntryConfirmed(*app, QStringLiteral("renamed"));
    EXPECT_EQ(list().entries().at(1), QStringLiteral("000001-000001 JUMP renamed"));
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT CANNOT BE SAVED!"));
    EXPECT_EQ(scriptBytes(), tooLong);

    // 120 entries without the pseudo-entries: loading repairs them, the write fails at 1 KiB.
    QByteArray unrepaired;
    for (int i = 1; i <= 120; ++i)
        unrepaired += formatEntry(i, i, EntryAction::Jump).toLatin1() + "\r\n";
    writeFile(QStringLiteral("clip.txt"), unrepaired);
    EXPECT_TRUE(runWithFileSizeLimit(1024, [&] {
        load();
        clickAt(200, menu().CommandLEARN);
        return infoText() == QStringLiteral("SCRIPT CANNOT BE SAVED!") && list().entries().count() == 123;
    }));
    EXPECT_EQ(scriptBytes(), unrepaired);
    EXPECT_FALSE(QFile::exists(script + QStringLiteral(".bak")));  // entries only: no backup

    const QByteArray notes = "Holiday 2019\n\nferry at 10:40\n";
    for (const QByteArray& own : {notes, QByteArray("other notes\n")}) {
        writeFile(QStringLiteral("clip.txt"), own);
        load();
        EXPECT_EQ(infoText() == QStringLiteral("ORIGINAL KEPT AS clip.txt.bak"), own == notes);
        EXPECT_EQ(readFile(script + QStringLiteral(".bak")), notes);  // never replaced
        EXPECT_TRUE(scriptBytes().startsWith("!00000 PREVIOUS VIDEO\r\n"));
    }
}

// The position slider: press, drag and release against the playback tick, and the IN and OUT buttons
// that the marks place.
TEST_F(ScriptWindowTest, ADragSeeksWithTheTickOffAndTheFillAndTheMarkButtonsFollowSeeksTheTickAndLoops)
{
    load();
    // Buttons placed while the slider was down move with the bar when it comes up.
    clickAt(125, menu().CommandMarkIN);
    clickAt(200, menu().CommandMarkOUT);
    slider().INITIALIZE();
    EXPECT_NEAR(endOf(slider().CommandMarkOUT), 0.8, 0.002);
    GOTOposition(*app, 50);
    player().advance(75);
    playbackTick(*app);
    EXPECT_NEAR(slider().Slider->width(), bar()->width() / 2, 1);
    // The buttons jump to their marks and playback goes on.
    QTest::mouseClick(slider().CommandMarkOUT, Qt::LeftButton);
    EXPECT_EQ(std::tuple(player().framePosition(), player().playState()), std::tuple(200.0, MediaPlayer::Playing));
    const int pauses = player().pauseCalls;
    mouse(QEvent::MouseButtonPress, 0);  // the very left: frame 0
    EXPECT_EQ(std::tuple(app->st.SliderDrag, ticking(), player().pauseCalls, player().seeks.last()),
              std::tuple(true, false, pauses + 1, 0.0));
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);  // each seek keeps playing
    mouse(QEvent::MouseMove, bar()->width() + 200);
    EXPECT_EQ(player().framePosition(), 250);  // past the end: the end
    mouse(QEvent::MouseButtonRelease, -50);
    EXPECT_EQ(std::pair(app->st.SliderDrag, ticking()), std::pair(false, true));
    // A press on the fill counts from the bar's left edge: 100 pixels of a bar 761 pixels (11415
    // twips) wide is 1500 x 250 / 11415. Closing the overlays in the middle of the drag gives the
    // tick back.
    GOTOposition(*app, 125);
    ASSERT_EQ(bar()->width(), 761);
    mouse(QEvent::MouseButtonPress, 100, slider().Slider);
    EXPECT_EQ(player().framePosition(), 32);
    HIDEall(*app);
    EXPECT_EQ(std::pair(app->st.SliderDrag, ticking()), std::pair(false, true));

    // Halted, a drag only moves the position.
    slider().INITIALIZE();
    PLAYstop(*app);
    const int plays = player().playCalls;
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease})
        mouse(type, 300);
    EXPECT_EQ(std::pair(player().playCalls, ticking()), std::pair(plays, false));
}

} // namespace
} // namespace vv::test
