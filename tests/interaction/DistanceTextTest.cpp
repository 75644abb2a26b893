#include "interaction/DistanceText.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

struct ParseRow {
    const char* text;
    std::optional<float> expected;
};

class DistanceTextParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(DistanceTextParse, ReadsPeriodAndCommaAndRefusesTheRest)
{
    const auto& row = GetParam();
    auto got = DistanceText::parse(row.text);
    ASSERT_EQ(got.has_value(), row.expected.has_value()) << row.text;
    if (row.expected) {
        EXPECT_EQ(*got, *row.expected) << row.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DistanceTextParse,
    ::testing::Values(ParseRow{"50", 50.0F}, ParseRow{"12.5", 12.5F}, ParseRow{"12,5", 12.5F},
                      ParseRow{"  23,4 ", 23.4F}, ParseRow{",5", 0.5F}, ParseRow{"7.", 7.0F},
                      ParseRow{"+3", 3.0F}, ParseRow{"0", 0.0F}, ParseRow{"-4,5", -4.5F},
                      ParseRow{"", std::nullopt}, ParseRow{"   ", std::nullopt},
                      ParseRow{"abc", std::nullopt}, ParseRow{"12mm", std::nullopt},
                      ParseRow{"1,234.5", std::nullopt}, ParseRow{"1.2.3", std::nullopt},
                      ParseRow{"1,2,3", std::nullopt}, ParseRow{"1e3", std::nullopt},
                      ParseRow{"inf", std::nullopt}, ParseRow{"nan", std::nullopt},
                      ParseRow{"0x10", std::nullopt}, ParseRow{".", std::nullopt},
                      ParseRow{"-", std::nullopt}, ParseRow{"1 2", std::nullopt},
                      ParseRow{"--1", std::nullopt}, ParseRow{"1-", std::nullopt}));

TEST(DistanceTextFormat, OffersTheDigitsTheUserTyped)
{
    // A distance typed as 23.4 is held as the float nearest to it and widened.
    EXPECT_EQ(DistanceText::format(static_cast<double>(23.4F)), "23.4");
    EXPECT_EQ(DistanceText::format(50.0), "50");
    EXPECT_EQ(DistanceText::format(0.125), "0.125");
    // A double that is no float (e.g. read from a landmark file) keeps all digits.
    EXPECT_EQ(DistanceText::format(0.1), "0.1");
    EXPECT_EQ(DistanceText::format(0.0), "");
    EXPECT_EQ(DistanceText::format(-3.0), "");
}

TEST(DistanceTextFormat, ReadsBackAsTheSameFloat)
{
    for (float v : {23.4F, 0.001F, 123456.7F, 1e-7F, 3.14159F}) {
        auto text = DistanceText::format(v);
        auto back = DistanceText::parse(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(*back, v) << text;
    }
}

} // namespace
