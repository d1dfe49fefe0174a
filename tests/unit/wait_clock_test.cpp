// The millisecond clock's range and waits that span the counter's wrap.
#include "win/wait_clock.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(MillisecondClock, ReadsEveryCounterValueAsANonNegativeNumber) {
    struct Case {
        std::uint32_t counter;
        double expected;
    };
    const Case cases[] = {
        {0u, 0.0},
        {1u, 1.0},
        {0x7FFFFFFFu, 2147483647.0},
        {0x80000000u, 2147483648.0}, // the first value that is negative as a signed number
        {0xFFFFFFFEu, 4294967294.0},
        {0xFFFFFFFFu, 4294967295.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MillisecondClockFromCounter(c.counter), c.expected) << c.counter;
    }
    // The millisecond after all bits set reads 0 again.
    std::uint32_t counter = 0xFFFFFFFFu;
    ++counter;
    EXPECT_EQ(MillisecondClockFromCounter(counter), 0.0);
}

TEST(WaitSpan, EndsAfterTheRequestedTimeWithoutAWrap) {
    WaitSpan span(100.0, 50.0);
    EXPECT_FALSE(span.Elapsed(100.0));
    EXPECT_FALSE(span.Elapsed(149.0));
    EXPECT_TRUE(span.Elapsed(150.0));
    EXPECT_TRUE(span.Elapsed(5000.0));
    EXPECT_EQ(span.Remaining(), 50.0);
}

TEST(WaitSpan, ZeroOrNegativeWaitsEndAtTheFirstCheck) {
    for (double ms : {0.0, -1.0, -1000.0}) {
        WaitSpan span(4294967295.0, ms);
        EXPECT_TRUE(span.Elapsed(4294967295.0)) << ms;
    }
}

TEST(WaitSpan, AWaitAcrossTheWrapCountsOnFromZero) {
    WaitSpan span(4294967000.0, 1000.0);
    EXPECT_FALSE(span.Elapsed(4294967200.0));
    EXPECT_EQ(span.Remaining(), 1000.0);

    // The counter wrapped: the 295 ms before it are taken off and counting restarts at 0.
    EXPECT_FALSE(span.Elapsed(0.0));
    EXPECT_EQ(span.Remaining(), 705.0);
    EXPECT_FALSE(span.Elapsed(704.0));
    EXPECT_TRUE(span.Elapsed(705.0));
    // The wrap is taken off only once.
    EXPECT_EQ(span.Remaining(), 705.0);
}

TEST(WaitSpan, AWrapFoundLateStillLeavesTheRestOfTheWait) {
    // The first check after the start already sees the wrapped counter.
    WaitSpan span(4294967290.0, 20.0);
    EXPECT_FALSE(span.Elapsed(10.0)); // remaining 20 - 5 = 15, counted from 0
    EXPECT_EQ(span.Remaining(), 15.0);
    EXPECT_TRUE(span.Elapsed(15.0));
}

TEST(WaitSpan, AWrapAfterMostOfTheWaitEndsItAtOnce) {
    WaitSpan span(4294967000.0, 200.0);
    EXPECT_TRUE(span.Elapsed(3.0)); // 295 ms had passed before the wrap
    EXPECT_LT(span.Remaining(), 0.0);
}

} // namespace
} // namespace qv
