// The order in which a list's missing sheets are made.

#include <gtest/gtest.h>

#include "library/sheet_schedule.h"

namespace vv::test {
namespace {

using Lane = SheetSchedule::Lane;

// Takes and finishes a lane's videos until none is due; the order they came in.
QStringList drain(SheetSchedule& s, Lane lane, bool playing = false)
{
    QStringList order;
    while (const auto video = s.take(lane, playing)) {
        order << *video;
        s.finished(*video, false);
    }
    return order;
}

TEST(SheetScheduleTest, ListOrderOnceEachTheSelectedEntryInItsOwnLaneAndOnlyItWhileAVideoPlays)
{
    SheetSchedule s;
    s.setList({"/v/a", "/v/b", "/v/a", "/v/c", "/v/d"});
    EXPECT_EQ(s.total(), 4);
    EXPECT_EQ(s.take(Lane::List), "/v/a");
    // One at a time per lane; selecting the one being made changes nothing.
    EXPECT_EQ(s.take(Lane::List), std::nullopt);
    s.prefer("/v/a");
    EXPECT_EQ(s.take(Lane::Selection), std::nullopt);
    // A later selection replaces an earlier one not started yet, and is
    // made beside the list's.
    s.prefer("/v/c");
    s.prefer("/v/d");
    EXPECT_EQ(drain(s, Lane::Selection), QStringList{"/v/d"});
    s.finished("/v/a", false);
    EXPECT_EQ(s.done(), 2);
    // While a video plays the list waits, the selection does not; a
    // selected entry outside the list is made but not counted.
    s.prefer("/w/x");
    EXPECT_EQ(drain(s, Lane::List, true), QStringList{});
    EXPECT_EQ(drain(s, Lane::Selection, true), QStringList{"/w/x"});
    EXPECT_EQ(drain(s, Lane::List), (QStringList{"/v/b", "/v/c"}));
    EXPECT_EQ(s.done(), 4);
    EXPECT_FALSE(s.busy());
}

TEST(SheetScheduleTest, AnUnwritableFolderIsSkippedClaimsAndCancelStopTheWork)
{
    SheetSchedule s;
    s.setList({"/ro/a", "/ro/b", "/ro/sub/c", "/v/d", "/v/e", "/ro/f"});
    ASSERT_EQ(s.take(Lane::List), "/ro/a");
    s.finished("/ro/a", true);
    // The loading takes e; the one being made cannot be claimed.
    EXPECT_TRUE(s.claim("/v/e"));
    EXPECT_EQ(s.take(Lane::List), "/ro/sub/c");
    EXPECT_FALSE(s.claim("/ro/sub/c"));
    s.finished("/ro/sub/c", false);
    // A selected entry of the failed folder is still made.
    s.prefer("/ro/f");
    EXPECT_EQ(drain(s, Lane::Selection), QStringList{"/ro/f"});
    EXPECT_EQ(drain(s, Lane::List), QStringList{"/v/d"});
    EXPECT_EQ(s.done(), 6);

    // A new list restarts the progress; cancelled, nothing more is due.
    s.setList({"/v/g", "/v/h"});
    EXPECT_EQ(s.done(), 0);
    EXPECT_TRUE(s.busy());
    s.cancel();
    s.prefer("/v/g");
    EXPECT_EQ(s.take(Lane::Selection), std::nullopt);
    EXPECT_EQ(s.take(Lane::List), std::nullopt);
}

} // namespace
} // namespace vv::test
