#include "interaction/DistanceText.h"

#include <gtest/gtest.h>

// The calibration distance as typed: one plain decimal, with a comma or a
// period; anything that would have to be guessed at is refused.
TEST(DistanceText, ReadsOnePlainDecimalAndWritesItBack)
{
    EXPECT_EQ(DistanceText::parse("12,5"), 12.5F);
    EXPECT_EQ(DistanceText::parse(" +23.4\t"), 23.4F);
    EXPECT_EQ(DistanceText::parse("-1"), -1.0F);
    for (const char* text :
         {"", "  ", "1.234,5", "1.2.3", "1e3", "0x10", "inf", "nan", "12 mm", "--1", "1-"})
        EXPECT_EQ(DistanceText::parse(text), std::nullopt) << text;

    EXPECT_EQ(DistanceText::format(23.4F), "23.4");
    EXPECT_EQ(DistanceText::format(12.345678901), "12.345678901");
    EXPECT_EQ(DistanceText::format(0.0) + DistanceText::format(-1.0), "");
    EXPECT_EQ(DistanceText::oneDecimal(1.25) + " " + DistanceText::oneDecimal(-1.25) + " " +
                  DistanceText::oneDecimal(-0.04),
              "1.3 -1.3 0.0");
}
