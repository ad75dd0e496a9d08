// The pace a transfer must keep, worked out by hand from the rule: no pause of Delay, and once
// Delay has passed at least 16 KiB/s on average since the start.
#include <gtest/gtest.h>

#include "standin/server/TransferPace.h"

namespace morvane::standin {
namespace {

using std::chrono::milliseconds;
using Clock = TransferPace::Clock;

TEST(StandinTransferPace, NothingMovingFailsAfterDelayAsAPause) {
  const Clock::time_point t0{};
  TransferPace pace(5000, t0);
  EXPECT_EQ(pace.Limit(), t0 + milliseconds(5000));
  EXPECT_FALSE(pace.TooSlow());
}

TEST(StandinTransferPace, ATrickleIsCutOnceDelayHasPassed) {
  const Clock::time_point t0{};
  TransferPace pace(5000, t0);
  // One byte every 2 s, as a hostile terminal sends it: each pause is well inside Delay, but at
  // 5 s three bytes in 5 s are far below 16 KiB/s.
  pace.Moved(1, t0 + milliseconds(2000));
  pace.Moved(1, t0 + milliseconds(4000));
  EXPECT_EQ(pace.Limit(), t0 + milliseconds(5000));
  EXPECT_TRUE(pace.TooSlow());
  // The declared size plays no part: only what moved counts.
}

TEST(StandinTransferPace, EnoughBytesBuyTimeAtTheMinimumRate) {
  const Clock::time_point t0{};
  TransferPace pace(5000, t0);
  // 163840 bytes are 10 s at 16 KiB/s: the average holds until then, pauses permitting.
  pace.Moved(163840, t0 + milliseconds(1000));
  EXPECT_EQ(pace.Limit(), t0 + milliseconds(6000)) << "a pause of Delay still ends it";
  EXPECT_FALSE(pace.TooSlow());
  pace.Moved(1, t0 + milliseconds(5500));
  pace.Moved(1, t0 + milliseconds(9000));
  // 163842 bytes: 10.000122 s.
  EXPECT_EQ(pace.Limit(), t0 + std::chrono::microseconds(10000122));
  EXPECT_TRUE(pace.TooSlow());
}

}  // namespace
}  // namespace morvane::standin
