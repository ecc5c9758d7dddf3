// Bearings and range: the worked cases, and agreement with an independent great-circle
// computation on a sphere of 6394 km radius.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "antenna/BeamHeading.h"

namespace vl {
namespace {

struct Case {
    const char* what;
    const char* home_latitude;
    const char* home_longitude;
    float latitude, longitude;
    int short_path, long_path, kilometres, miles;
};

TEST(BeamAndRange, WorkedCases) {
    const double degrees_for_4_km = 4.0 / 6394.0 * 57.29577;
    const double degrees_for_12_km = 12.0 / 6394.0 * 57.29577;
    const Case kCases[] = {
        {"north", "50", "10", 60.0f, 10.0f, 0, 180, 1116, 697},
        {"south", "50", "10", 40.0f, 10.0f, 180, 0, 1116, 697},
        {"west, rounding to 360", "50", "10", 60.0f, 9.99f, 360, 180, 1116, 697},
        {"antipodes", "10", "20", -10.0f, -160.0f, 0, 180, 20087, 12554},
        {"4 km is 2 miles", "50", "10", static_cast<float>(50 + degrees_for_4_km), 10.0f, 0, 180, 4,
         2},
        {"12 km is 7 miles", "50", "10", static_cast<float>(50 + degrees_for_12_km), 10.0f, 0, 180,
         12, 7},
        {"same point", "50", "10", 50.0f, 10.0f, 0, 180, 0, 0},
    };
    for (const Case& c : kCases) {
        auto beam = beam_and_range(c.home_latitude, c.home_longitude, c.latitude, c.longitude);
        ASSERT_TRUE(beam.has_value()) << c.what;
        EXPECT_EQ(beam->kilometres, c.kilometres) << c.what;
        EXPECT_EQ(beam->miles, c.miles) << c.what;
        if (std::string(c.what) != "antipodes") {  // every path is the short one there
            EXPECT_EQ(beam->short_path, c.short_path) << c.what;
            EXPECT_EQ(beam->long_path, c.long_path) << c.what;
        }
    }
}

TEST(BeamAndRange, TheSentenceWithItsBlanksAndPatterns) {
    auto same = beam_and_range("50", "10", 50.0f, 10.0f);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->sentence, "Short path 000 Degrees  Long Path 180 Degrees  Range 0KM, 0MILES");
    EXPECT_EQ(same->range_text, " 0");
    auto north = beam_and_range("50", "10", 60.0f, 10.0f);
    EXPECT_EQ(north->sentence,
              "Short path 000 Degrees  Long Path 180 Degrees  Range 1116KM, 697MILES");
    auto south = beam_and_range("50", "10", 40.0f, 10.0f);
    EXPECT_EQ(south->sentence,
              "Short path 180 Degrees  Long Path 000 Degrees  Range 1116KM, 697MILES");
    auto west = beam_and_range("50", "10", 60.0f, 9.99f);
    EXPECT_EQ(west->sentence.substr(0, 46), "Short path 360 Degrees  Long Path 180 Degrees ");
}

TEST(BeamAndRange, DueEastIsALittleBelowNinetyOnTheGreatCircle) {
    auto east = beam_and_range("50", "0", 50.0f, 40.0f);
    ASSERT_TRUE(east.has_value());
    EXPECT_LT(east->short_path, 90);
    EXPECT_GT(east->short_path, 60);
}

TEST(BeamAndRange, AnUnsetHomeGivesNothing) {
    EXPECT_FALSE(beam_and_range("", "", 50.0f, 10.0f).has_value());
    EXPECT_FALSE(beam_and_range("10", "-10", 50.0f, 10.0f).has_value());  // latitude = -longitude
    EXPECT_FALSE(beam_and_range("north", "west", 50.0f, 10.0f).has_value());
    EXPECT_TRUE(beam_and_range("10", "-9.9", 50.0f, 10.0f).has_value());
}

TEST(BeamArcCosine, EdgesAndNotANumber) {
    EXPECT_EQ(beam_arc_cosine(1.0), 0.0);
    EXPECT_EQ(beam_arc_cosine(1.5), 0.0);
    EXPECT_EQ(beam_arc_cosine(std::nan("")), 0.0);
    EXPECT_NEAR(beam_arc_cosine(-1.0), 3.14159265, 1e-8);
    EXPECT_NEAR(beam_arc_cosine(-7.0), 3.14159265, 1e-8);
    EXPECT_NEAR(beam_arc_cosine(0.0), 1.570796, 1e-12);
    EXPECT_NEAR(beam_arc_cosine(0.5), std::acos(0.5), 1e-6);
}

// The usual haversine distance and forward azimuth, as a navigator would compute them.
TEST(BeamAndRange, AgreesWithAnIndependentGreatCircleComputation) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> latitude(-80.0, 80.0), longitude(-180.0, 180.0);
    const double radians = 3.14159265358979323846 / 180.0;
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        double lat1 = latitude(random), lon1 = longitude(random);
        auto lat2 = static_cast<float>(latitude(random));
        auto lon2 = static_cast<float>(longitude(random));
        double p1 = lat1 * radians, p2 = lat2 * radians, dl = (lon2 - lon1) * radians;
        double h = std::sin((p2 - p1) / 2) * std::sin((p2 - p1) / 2) +
                   std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
        double angle = 2 * std::asin(std::sqrt(h));
        if (angle < 0.01 || angle > 3.13) {
            continue;  // near the same point or the antipode the bearing is ill-defined
        }
        double bearing =
            std::atan2(std::sin(dl) * std::cos(p2),
                       std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
            radians;
        bearing = std::fmod(bearing + 360.0, 360.0);
        auto beam = beam_and_range(std::to_string(lat1), std::to_string(lon1), lat2, lon2);
        ASSERT_TRUE(beam.has_value());
        EXPECT_NEAR(beam->kilometres, 6394.0 * angle, 1.5)
            << lat1 << "," << lon1 << " to " << lat2 << "," << lon2;
        double difference = std::fabs(beam->short_path - bearing);
        difference = std::min(difference, 360.0 - difference);
        EXPECT_LE(difference, 1.0) << lat1 << "," << lon1 << " to " << lat2 << "," << lon2;
        int long_path = beam->short_path + 180;
        EXPECT_EQ(beam->long_path, long_path > 359 ? long_path - 360 : long_path);
        EXPECT_EQ(beam->miles,
                  static_cast<int>(std::nearbyint(beam->kilometres / static_cast<double>(1.6f))));
        ++compared;
    }
    EXPECT_GT(compared, 2500);
}

}  // namespace
}  // namespace vl
