// Script entries, the script list and the script file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "script/script_entries.h"
#include "script/script_file.h"
#include "tests/support/unprivileged.h"

namespace vv {
namespace {

QByteArray crlf(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

TEST(ScriptEntries, FormattingAndReading)
{
    EXPECT_EQ(formatEntry(1250, 1875, EntryAction::Loop, QStringLiteral("Refrain")),
              QStringLiteral("001250-001875 LOOP Refrain"));
    EXPECT_EQ(formatEntry(-5, 1000000, EntryAction::Loop), QStringLiteral("000000-999999 LOOP "));  // never wider
    // A new script of a video too long for six digits still ends with the next video.
    for (const std::int32_t frames : {999999, 2147483647}) {
        ScriptList list;
        fillNewScript(list, frames);
        EXPECT_EQ(list.entries().mid(2), QStringList({"999998-999998 JUMP End of video", NextVideoEntry})) << frames;
    }

    // entry -> start, end, description, action
    const std::tuple<const char*, std::int32_t, std::int32_t, const char*, EntryAction> cases[] = {
        {"001250-001875 LOOP Refrain", 1250, 1875, "Refrain", EntryAction::Loop},
        {"000100-000100 JUMP ", 100, 100, "", EntryAction::Jump},
        {"000500-000500 LOOP same frame", 500, 500, "same frame", EntryAction::Jump},
        {"000700-000300 JUMP wrong word", 700, 300, "wrong word", EntryAction::Loop},
        {"001250-001875 LOOP  two blanks ", 1250, 1875, " two blanks ", EntryAction::Loop},
        {"!00000 PREVIOUS VIDEO", 0, 0, "EO", EntryAction::Jump},
        {"999999 NEXT VIDEO", 999999, 0, "", EntryAction::Loop},
        {"   42 hand-made", 42, 0, "", EntryAction::Loop}, {"", 0, 0, "", EntryAction::Jump},
        {"99999999999-000001 LOOP x", INT32_MAX, 9999, "LOOP x", EntryAction::Loop},
    };
    for (const auto& [entry, start, end, description, action] : cases) {
        const QString e = QString::fromUtf8(entry);
        EXPECT_EQ(std::tuple(entryStart(e), entryEnd(e), entryDescription(e), entryAction(e)),
                  std::tuple(start, end, QString::fromUtf8(description), action))
            << entry;
    }

    // The pseudo-entries are these exact lines and have no entry prefix; entries have it from the blank
    // after the word on.
    for (const auto& [entry, prefix] :
         {std::pair{"!00000 PREVIOUS VIDEO", false}, {"!00000 previous video", true},
          {"!00000 PREVIOUS VIDEO ", true}, {"999999 NEXT VIDEO", false}, {"000100-000100 JUMP", false},
          {"000100-000100 JUMP ", true}})
        EXPECT_EQ(hasEntryPrefix(QString::fromLatin1(entry)), prefix) << entry;
    EXPECT_EQ(withDescription(QStringLiteral("000100-000300 LOOP old text"), QStringLiteral("new")),
              QStringLiteral("000100-000300 LOOP new"));
}

TEST(ScriptList, SortsCaseInsensitivelyWithPreviousFirstAndEqualsInInsertionOrderAndTheSelectionFollows)
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

    list.clear();
    for (const char* e : {"000010-000010 JUMP ", "000020-000020 JUMP ", "000030-000030 JUMP "})
        list.insert(QString::fromLatin1(e));
    list.select(1);
    list.insert(QStringLiteral("000005-000005 JUMP "));  // before it
    list.insert(QStringLiteral("000040-000040 JUMP "));  // after it
    EXPECT_EQ(list.selected(), 2);
    list.removeAt(0);
    list.removeAt(3);  // after it
    EXPECT_EQ(list.selectedEntry(), QStringLiteral("000020-000020 JUMP "));
    list.removeAt(1);  // itself
    EXPECT_EQ(list.selected(), -1);
    list.select(7);
    EXPECT_EQ(list.selected(), -1);
    list.removeAt(-1);
    list.removeAt(99);
    EXPECT_EQ(list.count(), 2);
    // Sorting moves the entries under the selection, clearing removes them: it is given up.
    list.select(1);
    list.appendLegacy(QStringLiteral("000001-000001 JUMP "), false);
    list.sortEntries();
    EXPECT_EQ(list.selected(), -1);
    list.select(0);
    list.clear();
    EXPECT_EQ(list.selected(), -1);
}

TEST(ScriptFile, LinesAreSortedKeptExactlyAndRepairedOnlyWhereThePseudoEntriesAreMissing)
{
    const QByteArray pseudo = crlf({"!00000 PREVIOUS VIDEO", "999999 NEXT VIDEO"});
    const QByteArray indented = crlf({"  000050-000050 JUMP indented", "!00000 PREVIOUS VIDEO", "999999 NEXT VIDEO"});
    // A Windows-1252 line (u umlaut, euro sign, an undefined byte), a UTF-8 line, trailing blanks.
    const QByteArray eightBit = crlf({"!00000 PREVIOUS VIDEO", "000100-000100 JUMP M\xFCnchen \x80\x81  ",
                                      "000200-000200 JUMP Z\xC3\xBCrich", "999999 NEXT VIDEO"});
    struct Row {
        QByteArray in;
        bool repaired;
        int foreign;  // lines the player could not have written
        QByteArray out;
    } const rows[] = {
        {"", true, 0, pseudo},
        {"\r\n   \r\n\r\n", true, 0, pseudo},
        // Mixed line ends, blank-only lines, trailing blanks, a last line without its line end.
        {"999999 NEXT VIDEO\n000100-000300 LOOP Chorus\r   \r\n!00000 PREVIOUS VIDEO\r\n"
         "000100-000100 JUMP \r\n\r\n000050-000050 JUMP two  blanks  \r\n000000-000000 JUMP Start of video",
         false, 0,
         crlf({"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video", "000050-000050 JUMP two  blanks  ",
               "000100-000100 JUMP ", "000100-000300 LOOP Chorus", "999999 NEXT VIDEO"})},
        {eightBit, false, 0, eightBit},
        // Previous present, next missing: left as it is.
        {crlf({"!00000 PREVIOUS VIDEO", "000010-000010 JUMP a"}), false, 0,
         crlf({"!00000 PREVIOUS VIDEO", "000010-000010 JUMP a"})},
        // Next present, previous missing: only the missing one is added.
        {crlf({"999999 NEXT VIDEO", "000010-000010 JUMP a"}), true, 0,
         crlf({"!00000 PREVIOUS VIDEO", "000010-000010 JUMP a", "999999 NEXT VIDEO"})},
        // A line with leading blanks keeps them and sorts before "!". With both pseudo-entries there
        // nothing is added: the file must not grow at every load.
        {crlf({"!00000 PREVIOUS VIDEO", "  000050-000050 JUMP indented", "999999 NEXT VIDEO"}), false, 1, indented},
        {crlf({"  000050-000050 JUMP indented"}), true, 1, indented},
        // A byte order mark is no part of the first entry.
        {"\xEF\xBB\xBF!00000 PREVIOUS VIDEO\r\n999999 NEXT VIDEO\r\n", false, 0, pseudo},
    };
    ScriptList list;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in.toStdString());
        const ScriptReadResult r = parseScript(list, row.in);
        EXPECT_EQ(std::tuple(r.ok, r.repaired, r.foreign), std::tuple(true, row.repaired, row.foreign));
        const QByteArray out = formatScript(list);
        EXPECT_EQ(out, row.out);
        EXPECT_FALSE(parseScript(list, out).repaired);  // no further repair once written
    }
    for (const char* line : {"00a100-000300 LOOP a", "000100+000300 LOOP a", "000100-000300 LOOPa",
                             "000100-000300 loop a", "000100-000300 LOOP"})
        EXPECT_EQ(parseScript(list, line).foreign, 1) << line;

    // An edited 8-bit entry stays 8-bit when its text fits, UTF-8 otherwise; new entries are UTF-8.
    parseScript(list, eightBit);
    EXPECT_EQ(list.at(1), QString::fromUtf8("000100-000100 JUMP München €\u0081  "));
    list.replaceAt(1, withDescription(list.at(1), QString::fromUtf8("Köln")));
    EXPECT_TRUE(formatScript(list).contains("000100-000100 JUMP K\xF6ln\r\n"));
    list.replaceAt(1, withDescription(list.at(1), QString::fromUtf8("東京")));
    EXPECT_TRUE(formatScript(list).contains("000100-000100 JUMP \xE6\x9D\xB1\xE4\xBA\xAC\r\n"));
    list.insert(QString::fromUtf8("000150-000150 JUMP Köln"));
    EXPECT_TRUE(formatScript(list).contains("000150-000150 JUMP K\xC3\xB6ln\r\n"));
}

class ScriptFileOnDisk : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void write(const char* name, const QByteArray& data)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
    }
    QTemporaryDir dir;
};

TEST_F(ScriptFileOnDisk, LinesBeyondTheListAreCountedAndFailedReadsAndWritesReplaceNothing)
{
    QByteArray data = "!00000 PREVIOUS VIDEO\r\n";
    for (int i = ScriptList::MaxEntries + 4; i > 0; --i)  // in reverse: each line sorts first
        data += formatEntry(i, i, EntryAction::Jump).toLatin1() + "\r\n";
    ScriptList list;
    EXPECT_EQ(parseScript(list, data).dropped, 5);
    EXPECT_EQ(list.count(), 32767);
    EXPECT_EQ(list.insert(QStringLiteral("000000-000000 JUMP one more")), -1);

    // A file larger than the list could hold is read in whole lines up to the limit: the line that
    // ends right at the limit is read, one that crosses it is not.
    const auto line = [](int i) { return formatEntry(i, i, EntryAction::Jump) + QString(236, QLatin1Char('x')); };
    QByteArray lines;  // 256 bytes a line
    for (int i = 1; i <= ScriptList::MaxEntries + 2; ++i)
        lines += line(i).toLatin1() + "\n";
    for (const auto& [shift, last] : {std::pair{"", ScriptList::MaxEntries}, {"\n", ScriptList::MaxEntries - 1}}) {
        write("huge.txt", shift + lines);
        const ScriptReadResult r = readScriptFile(list, path("huge.txt"));
        EXPECT_TRUE(r.ok && r.dropped >= 1);
        EXPECT_EQ(list.at(list.count() - 1), line(last));
    }

    // An unreadable script, and one in a folder that cannot be written to: reported, nothing replaced.
    ScriptList fresh;
    fillNewScript(fresh, 100);
    const QByteArray old = crlf({"!00000 PREVIOUS VIDEO", "000010-000010 JUMP keep me"});
    write("locked.txt", old);
    QFile::setPermissions(path("locked.txt"), QFileDevice::Permissions());
    ASSERT_TRUE(QDir().mkpath(path("ro")));
    write("ro/clip.txt", old);
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther);
    test::openForOthers(path(""));
    const QString locked = path("locked.txt"), target = path("ro/clip.txt");
    EXPECT_TRUE(test::runUnprivileged([&] {
        ScriptList l;
        l.insert(QStringLiteral("old"));
        const ScriptReadResult r = readScriptFile(l, locked);
        QString why;
        const bool readFailed = !r.ok && !r.error.isEmpty() && !r.repaired && l.isEmpty();
        return readFailed && !writeScriptFile(fresh, target, &why) && !why.isEmpty();
    }));
    QFile kept(target);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == old);
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
} // namespace vv
