#include "script/script_entries.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(ScriptEntries, Formatting)
{
    EXPECT_EQ(formatEntry(1250, 1875, EntryAction::Loop, QStringLiteral("Refrain")),
              QStringLiteral("001250-001875 LOOP Refrain"));
    EXPECT_EQ(formatEntry(100, 100, EntryAction::Jump).size(), EntryPrefixLength);
    // Out-of-range positions never widen the layout.
    EXPECT_EQ(formatEntry(-5, 1000000, EntryAction::Loop), QStringLiteral("000000-999999 LOOP "));
    // A new script of a video too long for six digits still ends with the next video.
    for (const std::int32_t frames : {999999, 2147483647}) {
        ScriptList list;
        for (const QString& entry : newScriptEntries(frames))
            list.insert(entry);
        EXPECT_EQ(list.at(2), QStringLiteral("999998-999998 JUMP End of video")) << frames;
        EXPECT_EQ(list.at(3), NextVideoEntry) << frames;
    }
}

TEST(ScriptEntries, Reading)
{
    struct Case {
        const char* entry;
        std::int32_t start, end;
        const char* description;
        EntryAction action;
    } const cases[] = {
        {"001250-001875 LOOP Refrain", 1250, 1875, "Refrain", EntryAction::Loop},
        {"000100-000100 JUMP ", 100, 100, "", EntryAction::Jump},
        {"000500-000500 LOOP same frame", 500, 500, "same frame", EntryAction::Jump},
        {"000700-000300 JUMP wrong word", 700, 300, "wrong word", EntryAction::Loop},
        {"001250-001875 LOOP  two blanks ", 1250, 1875, " two blanks ", EntryAction::Loop},
        {"!00000 PREVIOUS VIDEO", 0, 0, "EO", EntryAction::Jump},
        {"999999 NEXT VIDEO", 999999, 0, "", EntryAction::Loop},
        {"   42 hand-made", 42, 0, "", EntryAction::Loop},
        {"no digits at all", 0, 0, "", EntryAction::Jump},
        {"", 0, 0, "", EntryAction::Jump},
        {"99999999999-000001 LOOP x", INT32_MAX, 9999, "LOOP x", EntryAction::Loop},
    };
    for (const auto& c : cases) {
        const QString e = QString::fromUtf8(c.entry);
        EXPECT_EQ(entryStart(e), c.start) << c.entry;
        EXPECT_EQ(entryEnd(e), c.end) << c.entry;
        EXPECT_EQ(entryDescription(e), QString::fromUtf8(c.description)) << c.entry;
        EXPECT_EQ(entryAction(e), c.action) << c.entry;
    }
}

TEST(ScriptEntries, PseudoEntriesAreExactTextsAndOnlyEntriesTakeADescription)
{
    const std::tuple<const char*, bool, bool, bool> rows[] = {
        // entry, previous video, next video, has the entry prefix
        {"!00000 PREVIOUS VIDEO", true, false, false},
        {"!00000 previous video", false, false, true},
        {"!00000 PREVIOUS VIDEO ", false, false, true},
        {"999999 NEXT VIDEO", false, true, false},
        {" 999999 NEXT VIDEO", false, false, false},
        {"000100-000100 JUMP", false, false, false},
        {"000100-000100 JUMP ", false, false, true},
    };
    for (const auto& [entry, previous, next, prefix] : rows) {
        EXPECT_EQ(isPreviousVideoEntry(QString::fromLatin1(entry)), previous) << entry;
        EXPECT_EQ(isNextVideoEntry(QString::fromLatin1(entry)), next) << entry;
        EXPECT_EQ(hasEntryPrefix(QString::fromLatin1(entry)), prefix) << entry;
    }
    EXPECT_EQ(withDescription(QStringLiteral("000100-000300 LOOP old text"), QStringLiteral("new")),
              QStringLiteral("000100-000300 LOOP new"));
}

TEST(ScriptList, SortsCaseInsensitivelyWithPreviousFirstAndEqualsInInsertionOrder)
{
    ScriptList list;
    for (const char* e : {"999999 NEXT VIDEO", "000100-000300 LOOP b", "000100-000100 JUMP Banana",
                          "!00000 PREVIOUS VIDEO", "000100-000100 JUMP apple", "999999-999999 JUMP at the very end",
                          "000100-000100 JUMP APPLE", "000000-000000 JUMP Start of video", "000099-001000 LOOP"})
        list.insert(QString::fromLatin1(e));
    EXPECT_EQ(list.insert(QStringLiteral("000100-000100 JUMP apple")), 5);  // after its equals
    EXPECT_EQ(list.entries(),
              (QStringList{"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video", "000099-001000 LOOP",
                           "000100-000100 JUMP apple", "000100-000100 JUMP APPLE", "000100-000100 JUMP apple",
                           "000100-000100 JUMP Banana", "000100-000300 LOOP b", "999999 NEXT VIDEO",
                           "999999-999999 JUMP at the very end"}));
}

TEST(ScriptList, SelectionFollowsItsEntry)
{
    ScriptList list;
    for (const char* e : {"000010-000010 JUMP ", "000020-000020 JUMP ", "000030-000030 JUMP "})
        list.insert(QString::fromLatin1(e));
    list.select(1);
    list.insert(QStringLiteral("000005-000005 JUMP "));   // before it
    list.insert(QStringLiteral("000040-000040 JUMP "));   // after it
    EXPECT_EQ(list.selected(), 2);
    list.removeAt(0);
    list.removeAt(3);                                     // after it
    EXPECT_EQ(list.selectedEntry(), QStringLiteral("000020-000020 JUMP "));
    list.removeAt(1);                                     // itself
    EXPECT_EQ(list.selected(), -1);
    list.select(7);
    EXPECT_EQ(list.selected(), -1);
    list.removeAt(-1);
    list.removeAt(99);
    EXPECT_EQ(list.count(), 2);
    // Sorting moves the entries under the selection: it is given up.
    list.select(1);
    list.appendLegacy(QStringLiteral("000001-000001 JUMP "), false);
    list.sortEntries();
    EXPECT_EQ(list.selected(), -1);
}

} // namespace
} // namespace vv
