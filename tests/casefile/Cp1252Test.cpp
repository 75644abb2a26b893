#include "casefile/Cp1252.h"

#include <gtest/gtest.h>

namespace {

struct Pair {
    const char* utf8;
    const char* cp1252;
};

class Cp1252Pairs : public testing::TestWithParam<Pair> {};

TEST_P(Cp1252Pairs, ConvertsBothWays)
{
    const Pair& p = GetParam();
    EXPECT_EQ(Cp1252::fromUtf8(p.utf8), std::optional<std::string>(p.cp1252));
    EXPECT_EQ(Cp1252::toUtf8(p.cp1252), p.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, Cp1252Pairs,
                         testing::Values(Pair{"", ""}, Pair{"Smith", "Smith"},
                                         Pair{"M\xC3\xBCller", "M\xFCller"},
                                         Pair{"\xC3\x9F\xC3\xA9", "\xDF\xE9"},     // ß é
                                         Pair{"\xE2\x82\xAC", "\x80"},             // €
                                         Pair{"\xC5\xA0\xE2\x80\x9E", "\x8A\x84"}, // Š „
                                         Pair{"\xC2\x81\xC2\x9D", "\x81\x9D"})); // undefined bytes

TEST(Cp1252, EveryByteSurvivesAReadAndAWrite)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(Cp1252::fromUtf8(Cp1252::toUtf8(all)), std::optional<std::string>(all));
}

class Cp1252Refused : public testing::TestWithParam<const char*> {};

TEST_P(Cp1252Refused, IsNotConvertedToSomethingElse)
{
    EXPECT_EQ(Cp1252::fromUtf8(GetParam()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Texts, Cp1252Refused,
                         testing::Values("\xC5\x81ukasz",     // Ł
                                         "A\xF0\x9F\x98\x80", // emoji
                                         "\xD0\x96",          // Cyrillic Zhe
                                         "bad \xFF utf-8", "cut \xC3"));

} // namespace
