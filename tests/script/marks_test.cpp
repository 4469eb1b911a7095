// The range marks, the MARK button's states, LEARN, DEL and the description
// dialog, on the control panel with the scripted player.

#include <QTest>

#include "app/main_window.h"
#include "control/control_panel.h"
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

namespace vv::test {
namespace {

// ------------------------------------------------------------ pure rules

TEST(MarkRules, LearnedEntryIsAJumpForAStartALoopForBothOrAJumpToThePosition)
{
    struct Row {
        std::int32_t in, out, position;
        const char* entry;  // nullptr: not learned
    } const rows[] = {
        {100, -1, 500, "000100-000100 JUMP "}, {100, 300, 500, "000100-000300 LOOP "},
        {-1, -1, 500, "000500-000500 JUMP "}, {-1, 300, 500, "000500-000500 JUMP "},  // an end alone is no mark
        {200, 200, 0, "000200-000200 LOOP "},   // one frame: stored as LOOP, runs as JUMP
        {0, 999999, 5, "000000-999999 LOOP "},
        // Frames that six digits cannot hold are not learned.
        {-1, -1, 1000000, nullptr}, {5, 1000000, 0, nullptr}, {1000000, -1, 0, nullptr},
    };
    for (const Row& row : rows) {
        const auto entry = learnedEntry(row.in, row.out, row.position);
        EXPECT_EQ(entry.value_or(QStringLiteral("none")), QString::fromLatin1(row.entry ? row.entry : "none"))
            << row.in << " " << row.out << " " << row.position;
    }
}

// ------------------------------------------------------------ on the panel

class MarksTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        app->MDI().resize(1024, 768);  // wide enough for the panel's marking group
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
    }
    void load()
    {
        INITIALIZEvideo(*app, video, 0);
        ASSERT_EQ(app->st.LoadedVideo, video);
    }
    ControlPanel& menu() { return app->menu(); }
    ScriptListBox& list() { return *menu().ListSCRIPT; }
    void clickAt(double frame, QPushButton* button)
    {
        player().setFramePosition(frame);
        button->click();
    }
    QByteArray scriptBytes() { return readFile(app->st.ScriptFile); }
    static QByteArray lines(std::initializer_list<const char*> entries)
    {
        QByteArray bytes;
        for (const char* e : entries)
            bytes += QByteArray(e) + "\r\n";
        return bytes;
    }
    bool sliderButtonShown(QPushButton* SliderWindow::*button)
    {
        return app->hasFormSlider() && !(app->FormSlider().*button)->isHidden();
    }

    QString video;
};

TEST_F(MarksTest, LifeCycleOfTheMarksAndTheMarkCaption)
{
    enum class Op { In, Out, Mark, Reset, Entry, Load };
    struct Step {
        Op op;
        double position;
        const char* entry;  // for Op::Entry
        std::int32_t in, out;
        const char* caption;
        const char* info;   // "-": nothing was shown; nullptr: not looked at
        bool outEnabled, markEnabled, inShown, outShown;
    } const steps[] = {
        // The MARK button alone (the L key).
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, false, false, false},
        {Op::Mark, 100, nullptr, 100, -1, "SET END", "START SET", false, false, true, false},
        {Op::Mark, 50.5, nullptr, 50, 100, "RESET", "LOOPING", false, false, true, true},  // ordered; 50.5 -> 50
        {Op::Mark, 70, nullptr, -1, -1, "SET START", "RESET", false, false, false, false},
        {Op::Reset, 70, nullptr, -1, -1, "SET START", "-", false, false, false, false},
        {Op::Mark, 33.5, nullptr, 34, -1, "SET END", "START SET", false, false, true, false},  // 33.5 -> 34
        // IN and OUT.
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, false, false, false},
        {Op::In, 40, nullptr, 40, -1, "SET END", "START SET", true, true, true, false},
        {Op::Out, 80, nullptr, 40, 80, "RESET", "LOOPING", true, true, true, true},
        {Op::In, 120, nullptr, 120, 80, "SET END", "START SET", true, true, true, true},  // not reordered
        {Op::Out, 60, nullptr, 60, 120, "RESET", "LOOPING", true, true, true, true},      // ordered
        {Op::In, 10, nullptr, 10, 120, "SET END", "START SET", true, true, true, true},
        {Op::Mark, 150, nullptr, 10, 150, "RESET", "LOOPING", true, true, true, true},
        {Op::Mark, 150, nullptr, -1, -1, "SET START", "RESET", false, true, false, false},  // MARK stays enabled
        {Op::Reset, 0, nullptr, -1, -1, "SET START", "-", false, true, false, false},
        {Op::Mark, 5, nullptr, 5, -1, "SET END", "START SET", false, true, true, false},
        {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, true, false, false},
        // Executing entries.
        {Op::Entry, 100, "000010-000020 LOOP x", 10, 20, "RESET", "LOOPING", true, true, true, true},
        {Op::Entry, 10, "000030-000020 LOOP reversed", 20, 30, "RESET", "LOOPING", true, true, true, true},
        {Op::Entry, 30, "000040-000040 LOOP one frame", -1, -1, "SET START", "RESET", false, true, false, false},
        {Op::Entry, 40, "000050-000050 JUMP ", -1, -1, "SET START", "JUMPING", false, true, false, false},
    };
    // Marking and learning need a video.
    EXPECT_FALSE(menu().CommandMarkIN->isEnabled());
    EXPECT_FALSE(menu().CommandLEARN->isEnabled());
    menu().pressMARK();  // the L key
    EXPECT_EQ(app->st.MarkIn, -1);
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    CommandLEARN_Click(*app);
    EXPECT_TRUE(list().entries().isEmpty());

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
        EXPECT_EQ(app->st.MarkIn, step.in);
        EXPECT_EQ(app->st.MarkOut, step.out);
        EXPECT_EQ(menu().CommandMARK->text(), QString::fromLatin1(step.caption));
        if (step.info) {
            EXPECT_EQ(infoText(), QString::fromLatin1(step.info));
        }
        EXPECT_EQ(menu().CommandMarkOUT->isEnabled(), step.outEnabled);
        EXPECT_EQ(menu().CommandMARK->isEnabled(), step.markEnabled);
        EXPECT_EQ(sliderButtonShown(&SliderWindow::CommandMarkIN), step.inShown);
        EXPECT_EQ(sliderButtonShown(&SliderWindow::CommandMarkOUT), step.outShown);
    }
}

// A script that is read only in part, or that cannot be written because the
// disk is full, is never shortened: LEARN, DEL and OK change the list and say
// that it was not saved. A user's own text file is kept once as .bak before
// the repair rewrites it. A position six digits cannot hold is not learned.
TEST_F(MarksTest, ScriptsReadInPartOrOnAFullDiskAreNeverShortenedNorGivenPositionsTheyCannotHold)
{
    video = addVideo(QStringLiteral("long.avi"), 2000000, 80000.0, 25.0);
    load();
    const QByteArray fresh = readFile(dir() + QStringLiteral("long.txt"));
    clickAt(1500000, menu().CommandLEARN);
    EXPECT_EQ(infoText(), QStringLiteral("POSITION TOO LARGE FOR SCRIPT!"));
    EXPECT_EQ(list().entries().count(), 4);
    EXPECT_EQ(scriptBytes(), fresh);
    clickAt(999999, menu().CommandLEARN);
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("999999-999999 JUMP "));

    video = dir() + QStringLiteral("clip.avi");

    QByteArray tooLong = lines({"!00000 PREVIOUS VIDEO"});
    for (int i = 0; i < ScriptList::MaxEntries + 4; ++i)
        tooLong += formatEntry(i, i, EntryAction::Jump).toLatin1() + "\r\n";
    const QString script = writeFile(QStringLiteral("clip.txt"), tooLong);
    load();
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT TOO LONG - NOT ALL ENTRIES LOADED!"));
    list().setListIndex(1);
    CommandDELETE_Click(*app);
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT CANNOT BE SAVED!"));
    clickAt(42, menu().CommandLEARN);
    EXPECT_EQ(list().entries().count(), ScriptList::MaxEntries);
    list().setListIndex(1);
    TextEntryConfirmed(*app, QStringLiteral("renamed"));
    EXPECT_EQ(list().entries().at(1), QStringLiteral("000001-000001 JUMP renamed"));
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT CANNOT BE SAVED!"));
    EXPECT_EQ(scriptBytes(), tooLong);

    // 120 entries without the pseudo-entries: loading repairs them, the write
    // fails at 1 KiB.
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
        if (own == notes) {
            EXPECT_EQ(infoText(), QStringLiteral("ORIGINAL KEPT AS clip.txt.bak"));
        }
        EXPECT_EQ(readFile(script + QStringLiteral(".bak")), notes);  // never replaced
        EXPECT_TRUE(scriptBytes().startsWith("!00000 PREVIOUS VIDEO\r\n"));
    }
}

// LEARN sorts the entry in and selects it; the right button opens the
// description dialog for the selected entry, wherever the pointer is; the
// dialog is not modal; DEL selects the entry that moved up.
TEST_F(MarksTest, LearnDescribeAndDeleteKeepTheSelectionAndTheScriptFile)
{
    load();
    menu().INITIALIZE();
    CommandDELETE_Click(*app);  // nothing selected: nothing happens
    EXPECT_EQ(list().entries().count(), 4);
    clickAt(100, menu().CommandMarkIN);
    clickAt(180, menu().CommandMarkOUT);
    menu().CommandLEARN->click();
    menu().CommandLEARN->click();  // an equal entry goes right beside it
    EXPECT_EQ(list().ListIndex(), 3);
    EXPECT_EQ(app->st.MarkOut, 180);  // the marks stay
    EXPECT_EQ(scriptBytes(), lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                                    "000100-000180 LOOP ", "000100-000180 LOOP ", "000250-000250 JUMP End of video",
                                    "999999 NEXT VIDEO"}));

    TextEntryDialog& dialog = app->FormTexteingabe();
    const auto rightPress = [&](int row) {
        QTest::mousePress(list().viewport(), Qt::RightButton, {}, list().visualItemRect(list().item(row)).center());
    };
    // No selection, or a pseudo-entry (no description): nothing opens.
    for (const int row : {-1, 0, 5}) {
        list().setListIndex(row);
        rightPress(2);
        EXPECT_FALSE(dialog.isVisible()) << row;
    }
    list().setListIndex(1);
    rightPress(3);
    EXPECT_EQ(list().ListIndex(), 1);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("Start of video"));
    list().setListIndex(4);  // selected meanwhile: OK gives the text to it
    dialog.Text1->setText(QStringLiteral("zzz last \r\nline"));
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(list().ListIndex(), 4);
    const QByteArray edited = lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video", "000100-000180 LOOP ",
                                     "000100-000180 LOOP ", "000250-000250 JUMP zzz last   line", "999999 NEXT VIDEO"});
    EXPECT_EQ(scriptBytes(), edited);  // in place, not re-sorted; line breaks made blanks

    // OK after the selection moved to a pseudo-entry, or after a new video
    // was loaded: nothing changes.
    rightPress(2);
    list().setListIndex(5);
    dialog.CommandOK_Click();
    EXPECT_EQ(list().entries().at(5), NextVideoEntry);
    list().setListIndex(2);
    rightPress(2);
    load();
    dialog.Text1->setText(QStringLiteral("stale"));
    dialog.CommandOK_Click();
    EXPECT_EQ(scriptBytes(), edited);

    // DEL selects the entry that moved up, after the last one the first;
    // pseudo-entries go like any other, until nothing is left.
    list().setListIndex(3);
    for (const int selected : {3, 3, 0, 0, 0, -1, -1}) {
        menu().CommandDELETE->click();
        EXPECT_EQ(list().ListIndex(), selected);
    }
    EXPECT_EQ(scriptBytes(), QByteArray());
}

} // namespace
} // namespace vv::test
