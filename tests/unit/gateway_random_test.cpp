// The random numbers of request ids, log names and temporary files.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "gateway/HUtils.h"

TEST(RandomNumbers, StayInTheirRangeAndReachAllOfIt) {
  Randomize();
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    int r = Random(10);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 10);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 10u);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_EQ(Random(1), 0);
}

TEST(RandomNumbers, EachSeedingStartsAnotherSequence) {
  // Requests served one after the other by a resident process seed anew each
  // time: their ids and log names must not repeat the sequence before.
  auto draw = [] {
    Randomize();
    std::vector<int> v;
    for (int i = 0; i < 8; ++i) v.push_back(Random(9000000));
    return v;
  };
  std::vector<int> first = draw();
  EXPECT_NE(first, draw());
}
