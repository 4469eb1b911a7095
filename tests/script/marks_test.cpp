// The range marks, the MARK button's states, LEARN, DEL and the description
// dialog, on the control panel with the scripted player.

#include <QListWidget>
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
#include "video/displays.h"
#include "video/loading.h"

namespace vv::test {
namespace {

// ------------------------------------------------------------ pure rules

TEST(LearnedEntry, JumpForAStartLoopForBothPositionWithoutAStart)
{
    struct Row {
        std::int32_t in, out, position;
        const char* entry;
    } const rows[] = {
        {100, -1, 500, "000100-000100 JUMP "},
        {100, 300, 500, "000100-000300 LOOP "},
        {-1, -1, 500, "000500-000500 JUMP "},
        {-1, 300, 500, "000500-000500 JUMP "},   // an end alone counts as no marks
        {200, 200, 0, "000200-000200 LOOP "},    // one frame: stored as LOOP, runs as JUMP
        {0, 999999, 5, "000000-999999 LOOP "},
    };
    for (const Row& row : rows) {
        const auto entry = learnedEntry(row.in, row.out, row.position);
        ASSERT_TRUE(entry) << row.entry;
        EXPECT_EQ(*entry, QString::fromLatin1(row.entry));
        EXPECT_EQ(entry->size(), EntryPrefixLength);
    }
    // Frames that six digits cannot hold are not learned.
    EXPECT_FALSE(learnedEntry(-1, -1, 1000000));
    EXPECT_FALSE(learnedEntry(5, 1000000, 0));
    EXPECT_FALSE(learnedEntry(1000000, -1, 0));
}

TEST(SelectionAfterRemoval, TheEntryThatMovedUpOrTheFirst)
{
    EXPECT_EQ(selectionAfterRemoval(1, 3), 1);
    EXPECT_EQ(selectionAfterRemoval(0, 3), 0);
    EXPECT_EQ(selectionAfterRemoval(3, 3), 0);  // the last one went: the first
    EXPECT_EQ(selectionAfterRemoval(0, 0), -1);
}

TEST(Description, LineBreaksBecomeBlanks)
{
    EXPECT_EQ(cleanDescription(QStringLiteral("Refrain")), QStringLiteral("Refrain"));
    EXPECT_EQ(cleanDescription(QStringLiteral("a\r\nb\nc\rd")), QStringLiteral("a  b c d"));
    EXPECT_EQ(cleanDescription(QString()), QString());
}

TEST(TextEntryPlace, SumsOfTheFiveWindowsPlusTheMainFrame)
{
    const DialogAnchor chain[5] = {{1500, 1200}, {0, 0}, {0, 7395}, {5835, 0}, {0, 60}};
    // Outer height 9150, inner 8640: 510 twips of title bar and borders.
    const DialogPlace place = textEntryPlace(chain, 9150, 8640);
    EXPECT_EQ(place.left, 1500 + 5835 + 75);
    EXPECT_EQ(place.top, 1200 + 7395 + 60 + 510 - 50);
}

// ------------------------------------------------------------ on the panel

class MarksTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        // Wide enough for the panel's marking group.
        app->MDI().resize(1024, 768);
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
    }
    void load()
    {
        INITIALIZEvideo(*app, video, 0);
        ASSERT_EQ(app->st.LoadedVideo, video);
    }
    ControlPanel& menu() { return app->menu(); }
    ScriptListBox& list() { return *menu().ListSCRIPT; }
    void at(double frame) { player().setFramePosition(frame); }
    QByteArray scriptBytes() { return readFile(app->st.ScriptFile); }
    static QByteArray lines(std::initializer_list<const char*> entries)
    {
        QByteArray bytes;
        for (const char* e : entries)
            bytes += QByteArray(e) + "\r\n";
        return bytes;
    }
    bool inButtonShown() { return app->hasFormSlider() && !app->FormSlider().CommandMarkIN->isHidden(); }
    bool outButtonShown() { return app->hasFormSlider() && !app->FormSlider().CommandMarkOUT->isHidden(); }

    QString video;
};

TEST_F(MarksTest, ButtonsBeforeAndAfterTheFirstLoad)
{
    for (QPushButton* b : {menu().CommandMarkIN, menu().CommandMarkOUT, menu().CommandMARK, menu().CommandLEARN,
                           menu().CommandDELETE})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_EQ(menu().CommandMARK->text(), QStringLiteral("SET START"));
    EXPECT_EQ(menu().CommandMarkIN->toolTip(), QStringLiteral("Aktuelle Videoposition als Bereichsstart setzen."));

    load();
    EXPECT_TRUE(menu().CommandMarkIN->isEnabled());
    EXPECT_TRUE(menu().CommandLEARN->isEnabled());
    EXPECT_FALSE(menu().CommandMarkOUT->isEnabled());
    EXPECT_FALSE(menu().CommandDELETE->isEnabled());
    // MARK is enabled by IN (or a LOOP entry), not by loading; its key works
    // all the same.
    EXPECT_FALSE(menu().CommandMARK->isEnabled());
}

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
    };
    struct Sequence {
        const char* name;
        std::vector<Step> steps;
    };
    const Sequence sequences[] = {
        {"the MARK button alone (the L key)",
         {
             {Op::Mark, 100, nullptr, 100, -1, "SET END", "START SET", false, false, true, false},
             {Op::Mark, 50.5, nullptr, 50, 100, "RESET", "LOOPING", false, false, true, true},  // ordered; 50.5 -> 50
             {Op::Mark, 70, nullptr, -1, -1, "SET START", "RESET", false, false, false, false},
             {Op::Reset, 70, nullptr, -1, -1, "SET START", "-", false, false, false, false},
             {Op::Mark, 33.5, nullptr, 34, -1, "SET END", "START SET", false, false, true, false},  // 33.5 -> 34
         }},
        {"IN and OUT",
         {
             {Op::In, 40, nullptr, 40, -1, "SET END", "START SET", true, true, true, false},
             {Op::Out, 80, nullptr, 40, 80, "RESET", "LOOPING", true, true, true, true},
             {Op::In, 120, nullptr, 120, 80, "SET END", "START SET", true, true, true, true},  // not reordered
             {Op::Out, 200, nullptr, 120, 200, "RESET", "LOOPING", true, true, true, true},
             {Op::Out, 60, nullptr, 60, 120, "RESET", "LOOPING", true, true, true, true},      // ordered
             {Op::In, 10, nullptr, 10, 120, "SET END", "START SET", true, true, true, true},
             {Op::Mark, 150, nullptr, 10, 150, "RESET", "LOOPING", true, true, true, true},
             {Op::Mark, 150, nullptr, -1, -1, "SET START", "RESET", false, true, false, false},  // MARK stays enabled
             {Op::Reset, 0, nullptr, -1, -1, "SET START", "-", false, true, false, false},
             {Op::Mark, 5, nullptr, 5, -1, "SET END", "START SET", false, true, true, false},
             {Op::Load, 0, nullptr, -1, -1, "SET START", nullptr, false, true, false, false},
         }},
        {"executing entries",
         {
             {Op::Entry, 100, "000010-000020 LOOP x", 10, 20, "RESET", "LOOPING", true, true, true, true},
             {Op::Entry, 10, "000030-000020 LOOP reversed", 20, 30, "RESET", "LOOPING", true, true, true, true},
             {Op::Entry, 30, "000040-000040 LOOP one frame", -1, -1, "SET START", "RESET", false, true, false, false},
             {Op::Entry, 40, "000050-000050 JUMP ", -1, -1, "SET START", "JUMPING", false, true, false, false},
         }},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        load();
        for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
            const Step& step = sequence.steps[i];
            SCOPED_TRACE(i);
            at(step.position);
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
            if (step.info)
                EXPECT_EQ(infoText(), QString::fromLatin1(step.info));
            EXPECT_EQ(menu().CommandMarkOUT->isEnabled(), step.outEnabled);
            EXPECT_EQ(menu().CommandMARK->isEnabled(), step.markEnabled);
            EXPECT_EQ(inButtonShown(), step.inShown);
            EXPECT_EQ(outButtonShown(), step.outShown);
        }
    }
}

TEST_F(MarksTest, MarkingNeedsAVideo)
{
    menu().pressMARK();
    EXPECT_EQ(app->st.MarkIn, -1);
    EXPECT_EQ(menu().CommandMARK->text(), QStringLiteral("SET START"));
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    CommandLEARN_Click(*app);
    EXPECT_TRUE(list().entries().isEmpty());
}

TEST_F(MarksTest, LearnAddsTheEntrySortedSelectsItAndSavesTheScript)
{
    load();
    const QByteArray fresh = lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                                    "000250-000250 JUMP End of video", "999999 NEXT VIDEO"});
    ASSERT_EQ(scriptBytes(), fresh);

    // A start mark alone: a JUMP to it.
    at(100);
    menu().CommandMarkIN->click();
    menu().CommandLEARN->click();
    EXPECT_EQ(list().ListIndex(), 2);
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("000100-000100 JUMP "));
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_TRUE(menu().CommandDELETE->isEnabled());
    EXPECT_EQ(app->st.MarkIn, 100);  // the marks stay
    EXPECT_EQ(scriptBytes(), lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                                    "000100-000100 JUMP ", "000250-000250 JUMP End of video",
                                    "999999 NEXT VIDEO"}));

    // Both marks: a LOOP, which stays active.
    at(180);
    menu().CommandMarkOUT->click();
    menu().CommandLEARN->click();
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("000100-000180 LOOP "));
    EXPECT_EQ(list().ListIndex(), 3);
    EXPECT_EQ(menu().CommandMARK->text(), QStringLiteral("RESET"));
    EXPECT_EQ(app->st.MarkOut, 180);

    // The same marks again: an equal entry right beside it.
    menu().CommandLEARN->click();
    EXPECT_EQ(list().ListIndex(), 4);
    EXPECT_EQ(list().entries().at(3), list().entries().at(4));

    // No marks: a JUMP to the position.
    menu().pressMARK();
    at(7);
    menu().CommandLEARN->click();
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("000007-000007 JUMP "));
    EXPECT_EQ(list().ListIndex(), 2);
    EXPECT_EQ(scriptBytes(), lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                                    "000007-000007 JUMP ", "000100-000100 JUMP ", "000100-000180 LOOP ",
                                    "000100-000180 LOOP ", "000250-000250 JUMP End of video",
                                    "999999 NEXT VIDEO"}));
}

TEST_F(MarksTest, PositionsBeyondSixDigitsAreNotLearned)
{
    video = addVideo(QStringLiteral("long.avi"), 2000000, 80000.0, 25.0);
    load();
    const QByteArray before = scriptBytes();
    const int count = list().entries().count();
    at(1500000);
    menu().CommandLEARN->click();
    EXPECT_EQ(infoText(), QStringLiteral("POSITION TOO LARGE FOR SCRIPT!"));
    EXPECT_EQ(list().entries().count(), count);
    EXPECT_EQ(scriptBytes(), before);
    // Inside the six digits it works.
    at(999999);
    menu().CommandLEARN->click();
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("999999-999999 JUMP "));
}

TEST_F(MarksTest, AScriptThatCannotBeWrittenKeepsTheEntryAndSaysSo)
{
    load();
    app->st.ScriptFile = dir() + QStringLiteral("no such folder/clip.txt");
    at(42);
    menu().CommandLEARN->click();
    EXPECT_EQ(list().entries().selectedEntry(), QStringLiteral("000042-000042 JUMP "));
    EXPECT_EQ(infoText(), QStringLiteral("SCRIPT CANNOT BE SAVED!"));
}

TEST_F(MarksTest, DeleteRemovesTheSelectedEntryAndSelectsItsSuccessor)
{
    load();
    menu().INITIALIZE();
    // Nothing selected: nothing happens.
    const QByteArray fresh = scriptBytes();
    CommandDELETE_Click(*app);
    EXPECT_EQ(list().entries().count(), 4);
    EXPECT_EQ(scriptBytes(), fresh);

    // A click on the list enables DEL.
    const QRect second = list().visualItemRect(list().item(1));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list().ListIndex(), 1);
    EXPECT_TRUE(menu().CommandDELETE->isEnabled());

    menu().CommandDELETE->click();
    EXPECT_EQ(list().entries().entries(),
              QStringList({PreviousVideoEntry, QStringLiteral("000250-000250 JUMP End of video"), NextVideoEntry}));
    EXPECT_EQ(list().ListIndex(), 1);  // the entry that moved up
    EXPECT_EQ(scriptBytes(), lines({"!00000 PREVIOUS VIDEO", "000250-000250 JUMP End of video", "999999 NEXT VIDEO"}));

    // The last entry: the first is selected. Pseudo-entries go like any other.
    list().setListIndex(2);
    menu().CommandDELETE->click();
    EXPECT_EQ(list().ListIndex(), 0);
    EXPECT_EQ(list().entries().count(), 2);
    menu().CommandDELETE->click();
    menu().CommandDELETE->click();
    EXPECT_TRUE(list().entries().isEmpty());
    EXPECT_EQ(list().ListIndex(), -1);
    EXPECT_EQ(scriptBytes(), QByteArray());
    menu().CommandDELETE->click();  // nothing left: nothing happens
    EXPECT_TRUE(list().entries().isEmpty());
}

class DescriptionTest : public MarksTest {
protected:
    void SetUp() override
    {
        MarksTest::SetUp();
        load();
        at(100);
        menu().CommandLEARN->click();  // "000100-000100 JUMP " at 2
        menu().INITIALIZE();
    }
    void rightPress(int row)
    {
        QTest::mousePress(list().viewport(), Qt::RightButton, {}, list().visualItemRect(list().item(row)).center());
    }
    TextEntryDialog& dialog() { return app->FormTexteingabe(); }
};

TEST_F(DescriptionTest, RightButtonEditsTheSelectedEntryWhereverThePointerIs)
{
    list().setListIndex(1);  // "Start of video"
    rightPress(3);           // over another entry: the selection stays
    EXPECT_EQ(list().ListIndex(), 1);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().Text1->text(), QStringLiteral("Start of video"));

    dialog().Text1->clear();
    QTest::keyClicks(dialog().Text1, QStringLiteral("Anfang"));
    QTest::mouseClick(dialog().CommandOK, Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(list().entries().at(1), QStringLiteral("000000-000000 JUMP Anfang"));
    EXPECT_EQ(scriptBytes(), lines({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Anfang", "000100-000100 JUMP ",
                                    "000250-000250 JUMP End of video", "999999 NEXT VIDEO"}));
}

TEST_F(DescriptionTest, OkGivesTheTextToTheEntrySelectedAtThatMomentInPlace)
{
    list().setListIndex(2);
    rightPress(2);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().Text1->text(), QString());
    // Not modal: the user selects another entry meanwhile.
    list().setListIndex(3);
    dialog().Text1->setText(QStringLiteral("zzz last \r\nline"));
    dialog().CommandOK_Click();
    // Replaced in place (not re-sorted), line breaks made blanks.
    EXPECT_EQ(list().entries().at(3), QStringLiteral("000250-000250 JUMP zzz last   line"));
    EXPECT_EQ(list().entries().at(2), QStringLiteral("000100-000100 JUMP "));
    EXPECT_EQ(list().ListIndex(), 3);
    EXPECT_TRUE(scriptBytes().contains("000250-000250 JUMP zzz last   line\r\n999999 NEXT VIDEO\r\n"));

    // An empty text leaves the bare prefix.
    list().setListIndex(1);
    rightPress(1);
    dialog().Text1->clear();
    QTest::keyClick(dialog().Text1, Qt::Key_Return);  // Enter confirms
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(list().entries().at(1), QStringLiteral("000000-000000 JUMP "));
}

TEST_F(DescriptionTest, CancelAndEntriesWithoutADescriptionChangeNothing)
{
    const QByteArray before = scriptBytes();
    list().setListIndex(2);
    rightPress(2);
    dialog().Text1->setText(QStringLiteral("never"));
    QTest::mouseClick(dialog().CommandCANCEL, Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(list().entries().at(2), QStringLiteral("000100-000100 JUMP "));

    // The pseudo-entries have no description: the press is ignored.
    for (const int row : {0, 4}) {
        list().setListIndex(row);
        rightPress(row);
        EXPECT_FALSE(dialog().isVisible()) << row;
    }

    // Opened on a range entry, confirmed after the selection moved to a
    // pseudo-entry: the pseudo-entry keeps its exact text.
    list().setListIndex(2);
    rightPress(2);
    ASSERT_TRUE(dialog().isVisible());
    list().setListIndex(4);
    dialog().Text1->setText(QStringLiteral("broken"));
    dialog().CommandOK_Click();
    EXPECT_EQ(list().entries().at(4), NextVideoEntry);

    // A new video was loaded meanwhile: nothing is selected any more.
    list().setListIndex(2);
    rightPress(2);
    load();
    dialog().Text1->setText(QStringLiteral("stale"));
    dialog().CommandOK_Click();
    EXPECT_FALSE(list().entries().entries().join(QString()).contains(QStringLiteral("stale")));
    EXPECT_EQ(scriptBytes(), before);
}

TEST_F(DescriptionTest, RightButtonWithoutASelectionOpensNothing)
{
    list().setListIndex(-1);
    rightPress(2);
    EXPECT_FALSE(dialog().isVisible());
}

} // namespace
} // namespace vv::test
