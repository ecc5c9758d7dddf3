// The band of a listener's report from the metres typed. The screen is played by the
// print_swl scenarios.
#include <gtest/gtest.h>

#include "printing/PrintingScreens.h"

namespace vl {
namespace {

TEST(SwlBand, TheBandWhoseShortNameHasTheNumberTyped) {
    const struct {
        const char* metres;
        int band;
    } kCases[] = {{"20", 4}, {"70", 12}, {"2", 11}, {"160", 0}, {" 6 m", 9}, {"11", 13}, {"", 13}};
    for (const auto& c : kCases) {
        EXPECT_EQ(swl_band(c.metres), c.band) << c.metres;
    }
}

}  // namespace
}  // namespace vl
