#pragma once

#include <cctype>
#include <gtest/gtest.h>
#include <string>

// Names data-driven rows after their `what` member (letters and digits kept,
// everything else '_'), for readable test names.
struct RowName {
    template <class Row> std::string operator()(const testing::TestParamInfo<Row>& info) const
    {
        std::string s;
        for (const char* p = info.param.what; *p; ++p)
            s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return s;
    }
};
