#include "base/handle_map.h"

#include <gtest/gtest.h>

TEST(HandleMap, FreedSlotsAreReusedBeforeTheTableGrowsByEight) {
    HandleMap map;
    int objects[10];
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(map.Add(&objects[i], 100 + i));
    EXPECT_TRUE(map.Remove(&objects[3]));
    EXPECT_FALSE(map.Remove(&objects[3]));
    EXPECT_EQ(map.Find(103), nullptr);
    map.Add(&objects[8], 200);  // takes the freed slot
    EXPECT_EQ(map.SlotCount(), 8);
    map.Add(&objects[9], 300);
    EXPECT_EQ(map.SlotCount(), 16);
    for (int i : {0, 1, 2, 4, 5, 6, 7}) EXPECT_EQ(map.Find(100 + i), &objects[i]);
    EXPECT_EQ(map.Find(200), &objects[8]);
    EXPECT_EQ(map.Find(300), &objects[9]);
    EXPECT_EQ(map.Find(0), nullptr);  // empty slots never match
}
