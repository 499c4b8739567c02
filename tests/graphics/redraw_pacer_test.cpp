// The editor's redraw schedule on hosts whose run loops tick at their own
// pace: one redraw per 40 ms on average whatever the tick, at once after an
// idle spell, and never in a burst to catch up.
#include "graphics/IRedrawPacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
// Redraw times when something changes before every tick of tickMs, for ms.
std::vector<int64_t> RedrawsWithChangesEveryTick(int64_t tickMs, int64_t ms, int64_t start = 1000)
{
  IRedrawPacer pacer(40);
  std::vector<int64_t> drawn;
  for (int64_t now = start; now < start + ms; now += tickMs)
  {
    if (!pacer.Due(now)) continue;
    pacer.Drew(now);
    drawn.push_back(now - start);
  }
  return drawn;
}

TEST(RedrawPacer, ticksOfAnyLengthAverageOneRedrawPerInterval)
{
  struct Case
  {
    int64_t tick;
    size_t redrawsInTwoSeconds;
  };
  // 40 ms asked of a 30 ms host would be 60 ms; paced, it stays 25 a second.
  const Case cases[] = {{10, 50}, {20, 50}, {30, 50}, {40, 50}, {60, 34}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.tick);
    EXPECT_EQ(c.redrawsInTwoSeconds, RedrawsWithChangesEveryTick(c.tick, 2000).size());
  }
  // On exact 10 ms ticks the redraws are exactly 40 ms apart.
  const std::vector<int64_t> exact = RedrawsWithChangesEveryTick(10, 130);
  EXPECT_EQ((std::vector<int64_t>{0, 40, 80, 120}), exact);
}

TEST(RedrawPacer, onTicksOfHalfTheIntervalEveryChangeShowsWithinTwoTicks)
{
  // Changes at uneven times, ticks every 20 ms: the longest wait from a
  // change to the redraw that shows it.
  IRedrawPacer pacer(40);
  int64_t pendingSince = -1, longestWait = 0;
  for (int64_t now = 0; now < 5000; ++now)
  {
    if (now % 7 == 0 || now % 113 == 0) pendingSince = pendingSince < 0 ? now : pendingSince;
    if (now % 20 != 0 || pendingSince < 0 || !pacer.Due(now)) continue;
    pacer.Drew(now);
    longestWait = std::max(longestWait, now - pendingSince);
    pendingSince = -1;
  }
  EXPECT_LE(longestWait, 40);
  EXPECT_GT(longestWait, 20);  // paced: not every tick draws
}

TEST(RedrawPacer, aChangeAfterIdleDrawsAtOnceAndALongStallBringsNoBurst)
{
  IRedrawPacer pacer(40);
  ASSERT_TRUE(pacer.Due(0));
  pacer.Drew(0);
  EXPECT_FALSE(pacer.Due(20));
  EXPECT_TRUE(pacer.Due(39));  // a tick a little early still counts
  // Nothing changed for a while: the next change draws on the next tick.
  EXPECT_TRUE(pacer.Due(500));
  pacer.Drew(500);
  // And the schedule starts from there, not from where it fell behind.
  EXPECT_FALSE(pacer.Due(510));
  EXPECT_TRUE(pacer.Due(540));
  pacer.Reset();
  EXPECT_TRUE(pacer.Due(541));
}
}  // namespace
