// The glass button's pictures of its looks: which looks earn a picture, and which are let go.
#include <gtest/gtest.h>

#include <string>

#include "core/LookCache.h"

namespace vellicot {
namespace {

using Cache = LookCache<int, std::string>;

TEST(LookCacheTest, ALookEarnsItsPictureWhenPaintedASecondTimeEvenWithOthersBetween) {
    Cache cache;
    EXPECT_FALSE(cache.PaintedBefore(1)) << "the first paint draws the look straight";
    EXPECT_FALSE(cache.PaintedBefore(2));
    EXPECT_TRUE(cache.PaintedBefore(1)) << "pressed and released: the up look again";
    EXPECT_EQ(cache.Find(1), nullptr);
    cache.Keep(1, "up");
    ASSERT_NE(cache.Find(1), nullptr);
    EXPECT_EQ(*cache.Find(1), "up");
    // Forgotten once seen so long ago that kKept other looks came since.
    for (int look = 10; look < 10 + static_cast<int>(Cache::kKept); ++look)
        EXPECT_FALSE(cache.PaintedBefore(look));
    EXPECT_FALSE(cache.PaintedBefore(2));
}

TEST(LookCacheTest, TheLeastRecentlyPaintedPictureGoesFirstAndAReplacedOneIsNotKeptTwice) {
    LookCache<int, std::string, 2> cache;
    cache.Keep(1, "one");
    cache.Keep(2, "two");
    ASSERT_NE(cache.Find(1), nullptr);  // 1 is now the more recent
    cache.Keep(3, "three");
    EXPECT_NE(cache.Find(1), nullptr);
    EXPECT_EQ(cache.Find(2), nullptr) << "the least recently painted should have gone";
    cache.Replace(3, "three again");
    EXPECT_EQ(cache.Pictures(), 2u);
    EXPECT_EQ(*cache.Find(3), "three again");
    EXPECT_NE(cache.Find(1), nullptr) << "replacing a look's picture lets no other go";
    cache.Clear();
    EXPECT_EQ(cache.Find(1), nullptr);
    EXPECT_FALSE(cache.PaintedBefore(3));
}

}  // namespace
}  // namespace vellicot
