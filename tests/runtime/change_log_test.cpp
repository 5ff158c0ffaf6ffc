#include "runtime/core/engine/change_log.h"

#include <gtest/gtest.h>

namespace vorn::runtime {
namespace {

// The editor's drag: the relay refreshed from the cache, a shape drawn on
// it, the relay copied onto the foreground; each step should only have to
// touch the shapes' rectangles.
TEST(ChangeLog, AWholeCopyOfAMirrorTakesOnlyWhatChangedOnEitherSide) {
    ChangeLog cache(1), relay(2), foreground(3);
    for (ChangeLog* log : {&cache, &relay, &foreground})
        log->resized(100, 80);
    EXPECT_EQ(relay.differing_from(cache), std::nullopt) << "never copied: all of it";
    relay.record({0, 0, 100, 80});
    relay.copied_whole(cache);
    EXPECT_EQ(relay.differing_from(cache), CopyRect{}) << "nothing changed since";

    relay.record({10, 10, 20, 20}); // the first shape
    foreground.record({0, 0, 100, 80});
    foreground.copied_whole(relay);
    EXPECT_EQ(relay.differing_from(cache), (CopyRect{10, 10, 20, 20}));
    relay.record({10, 10, 20, 20}); // its place refreshed from the cache
    relay.copied_whole(cache);
    relay.record({10, 10, 40, 30}); // the shape, grown
    EXPECT_EQ(foreground.differing_from(relay), (CopyRect{10, 10, 40, 30}));

    // A change of the foreground's own counts too; a change of size, or of
    // the source it mirrors, means all of it.
    foreground.record({90, 70, 5, 5});
    EXPECT_EQ(foreground.differing_from(relay), (CopyRect{10, 10, 85, 65}));
    EXPECT_EQ(foreground.differing_from(cache), std::nullopt);
    relay.resized(100, 80);
    EXPECT_EQ(foreground.differing_from(relay), std::nullopt);
}

TEST(ChangeLog, ChangesBeyondWhatTheLogKeepsMeanAllOfIt) {
    ChangeLog source(1), copy(2);
    source.resized(50, 50);
    copy.resized(50, 50);
    copy.copied_whole(source);
    for (int i = 0; i < 40; ++i)
        source.record({i % 50, 0, 1, 1});
    EXPECT_EQ(copy.differing_from(source), std::nullopt);
    // Changes off the surface are no changes.
    copy.copied_whole(source);
    source.record({60, 60, 5, 5});
    EXPECT_EQ(copy.differing_from(source), CopyRect{});
}

} // namespace
} // namespace vorn::runtime
