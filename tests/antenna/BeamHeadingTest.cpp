// Bearings and range: agreement with an independent great-circle computation on a sphere of
// 6394 km radius.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "antenna/BeamHeading.h"

namespace vl {
namespace {

// The worked cases and their sentences, and homes not set, are the beam_cases scenario's.
TEST(BeamAndRange, TheRangeTextIsTheKilometresAfterABlank) {
    auto antipodes = beam_and_range("10", "20", -10, -160);
    EXPECT_EQ(antipodes->range_text + " " + std::to_string(antipodes->miles), " 20087 12554");
}

TEST(BeamAndRange, ArcCosineEdgesAndNotANumber) {
    EXPECT_EQ(beam_arc_cosine(1.0) + beam_arc_cosine(1.5) + beam_arc_cosine(std::nan("")), 0.0);
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
        float lat2 = static_cast<float>(latitude(random)),
              lon2 = static_cast<float>(longitude(random));
        double p1 = lat1 * radians, p2 = lat2 * radians, dl = (lon2 - lon1) * radians;
        double h = std::pow(std::sin((p2 - p1) / 2), 2) +
                   std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
        double angle = 2 * std::asin(std::sqrt(h));
        if (angle < 0.01 || angle > 3.13) {
            continue;  // near the same point or the antipode the bearing is ill-defined
        }
        double bearing =
            std::atan2(std::sin(dl) * std::cos(p2),
                       std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
            radians;
        auto beam = beam_and_range(std::to_string(lat1), std::to_string(lon1), lat2, lon2);
        ASSERT_TRUE(beam.has_value());
        SCOPED_TRACE(i);
        EXPECT_NEAR(beam->kilometres, 6394.0 * angle, 1.5);
        double difference = std::fabs(beam->short_path - std::fmod(bearing + 360.0, 360.0));
        EXPECT_LE(std::min(difference, 360.0 - difference), 1.0);
        EXPECT_EQ(beam->long_path, (beam->short_path + 180) % 360);
        EXPECT_EQ(beam->miles,
                  static_cast<int>(std::nearbyint(beam->kilometres / static_cast<double>(1.6f))));
        ++compared;
    }
    EXPECT_GT(compared, 2500);
}

}  // namespace
}  // namespace vl
