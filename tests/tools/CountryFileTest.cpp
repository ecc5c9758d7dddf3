// The country-list generator, and the shipped list being exactly what it makes. The start-up
// update from cty.dat is the ref_cty scenarios'.
#include <gtest/gtest.h>

#include "country/CountryFile.h"
#include "dxdata/CountryList.h"
#include "support/TestSupport.h"

namespace vl::tools {
namespace {

constexpr std::string_view kCountryFile =
    "Sov Mil Order of Malta:   15:  28:  EU:   41.90:   -12.43:    -1.0:  1A:\r\n    1A;\r\n"
    "England:                  14:  27:  EU:   52.77:     1.47:     0.0:  G:\r\n"
    "    2E,G,M,=G0IBN/LH,\r\n    =GB0BLL/LH;\r\n"
    "Shetland Islands:         14:  27:  EU:   60.50:     1.50:     0.0:  *GM/s:\r\n"
    "    GM0(14)[27];\r\n"
    "Wales:                    14:  27:  EU:   52.28:     3.73:     0.0:  GW:\r\n"
    "    2W,GC,GW,MC,MW;\r\n"
    "Juan de Nova, Europa:     39:  53:  AF:  -17.05:   -42.72:    -3.0:  FT/j:\r\n"
    "    FT0E,FT0J(33)[54];\r\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\r\n"
    "    R,U,UA2F;\r\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\r\n"
    "    R8,R9,R0,UA8,UA9,UA0,UA8F<52.0/-56.0>;\r\n"
    "Fiji:                     56:  65:  OC:  -17.78:  -177.92:   -12.0:  3D2:\r\n"
    "    3D2,=3D2CQ;\r\n"
    "Conway Reef:              56:  65:  OC:  -22.00:  -175.00:   -12.0:  3D2/c:\r\n"
    "    =3D2CR,=3D2CY,=3D2CCC,=3D20CR,=G4ABC/3D2C;\r\n"
    "Heard Island:             39:  68:  AF:  -53.08:   -73.50:    -5.0:  VK0H:\r\n"
    "    =VK0EK;\r\n";

TEST(CountryFile, ReadsEntitiesAndBuildsTheListHomeFirstDeeperPrefixesFirst) {
    auto entities = read_country_file(kCountryFile);
    ASSERT_EQ(entities.size(), 9u);  // Shetland is contest-only
    EXPECT_EQ(entities[1].prefixes, (std::vector<std::string>{"2E", "G", "M"}));
    EXPECT_EQ(entities[1].exact_calls, (std::vector<std::string>{"G0IBN/LH", "GB0BLL/LH"}));
    EXPECT_EQ(entities[3].prefixes, (std::vector<std::string>{"FT0E", "FT0J"}));
    auto build = build_country_list(entities, "England");
    ASSERT_TRUE(build.error.empty()) << build.error;
    EXPECT_TRUE(build.wrong.empty() && build.dropped.empty() && build.missing.empty());
    CountryList list;
    ASSERT_FALSE(list.load(build.text).has_value()) << build.text;
    EXPECT_EQ(std::string(list.name_of(1)) + "|" + std::string(list.name_of(2)) + "|" +
                  std::string(list.name_of(4)),
              "England|Sov Mil Order of Malta|Juan de Nova and Europa");
    // Entities known only by exact calls get the forms their calls use; a form never reaches
    // a call the file gives another entity (3D2CQ stays in Fiji). Shetland's prefix falls to
    // England with the contest area gone.
    const struct {
        const char *call, *country;
    } kCases[] = {{"G4ABC", "England"},
                  {"MW0AAA", "Wales"},
                  {"GM0ABC", "England"},
                  {"UA3AAA", "European Russia"},
                  {"UA9AAA", "Asiatic Russia"},
                  {"UA8FAA", "Asiatic Russia"},
                  {"UA2FAA", "European Russia"},
                  {"R9ABC", "Asiatic Russia"},
                  {"FT0JAA", "Juan de Nova and Europa"},
                  {"3D2CR", "Conway Reef"},
                  {"3D2CCC", "Conway Reef"},
                  {"3D20CR", "Conway Reef"},
                  {"G4ABC/3D2C", "Fiji"},
                  {"3D2CQ", "Fiji"},
                  {"3D21AB", "Fiji"},
                  {"VK0EK", "Heard Island"},
                  {"VK0HI", "Heard Island"}};
    for (const auto& c : kCases) {
        ASSERT_GE(list.find(c.call), 1) << c.call;
        EXPECT_EQ(list.current_record()->name, c.country) << c.call;
    }
    list.find("G4ABC");
    EXPECT_FLOAT_EQ(list.current_record()->longitude, -1.47f);  // east positive
    // Neighbours of one country are one range: UA8 and UA9 (UA0 is not next to them).
    EXPECT_NE(build.text.find("UA8,UA9,Asiatic Russia"), std::string::npos) << build.text;
    EXPECT_EQ(build.text.substr(build.text.size() - 2), "\r\n");
    // By the ranges alone G4ABC/3D2C reads as 3D2C, which 3D2CQ of Fiji shares: COUNTRY.EXC
    // carries it.
    EXPECT_EQ(std::vector<int>({build.real_calls, build.real_calls_found_by_ranges,
                                build.real_calls_found, build.exact_calls_kept}),
              std::vector<int>({9, 8, 9, 1}));
    EXPECT_NE(build.exceptions.find("=G4ABC/3D2C"), std::string::npos);

    auto wales = build_country_list(entities, "GW");
    list.load(wales.text);
    EXPECT_EQ(std::string(list.name_of(1)) + "|" + std::string(list.name_of(3)), "Wales|England");
    EXPECT_FALSE(build_country_list(entities, "Atlantis").error.empty());
}

TEST(CountryFile, TooFewRecordsDropTheLeastUsedRangesButNeverAPrimaryPrefix) {
    auto entities = read_country_file(kCountryFile);
    auto full = build_country_list(entities, "England");
    auto tight = build_country_list(entities, "England", full.records - 2);
    ASSERT_TRUE(tight.error.empty()) << tight.error;
    EXPECT_EQ(tight.records, full.records - 2);
    EXPECT_EQ(tight.dropped.size(), 2u);
    EXPECT_TRUE(tight.wrong.empty());
    CountryList list;
    list.load(tight.text);
    for (const CountryFileEntity& e : entities) {  // each still found under its name
        std::vector<std::string> calls = e.prefixes;
        calls.insert(calls.end(), e.exact_calls.begin(), e.exact_calls.end());
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [&](const std::string& call) {
            return list.find(call) >= 1 && list.current_record()->name == list_name(e.name);
        })) << e.name;
    }
    EXPECT_FALSE(build_country_list(entities, "England", 3).error.empty());
}

TEST(CountryFile, TheShippedListIsWhatTheToolMakesFromTheKeptCountryFile) {
    std::string cty = test::read_file(std::string(VARROW_TOOLS_DIR) + "/country/cty.dat");
    auto entities = read_country_file(cty);
    auto build = build_country_list(entities, "England");
    ASSERT_TRUE(build.error.empty()) << build.error;
    EXPECT_TRUE(build.wrong.empty() && build.missing.empty());
    EXPECT_EQ(build.entities, 340);
    // Compared whole, reported briefly: the list is 1001 lines long.
    EXPECT_TRUE(build.text == test::read_file(std::string(VARROW_DATA_DIR) + "/COUNTRY.LST"))
        << "data/COUNTRY.LST is not what tools/make_country_list makes from tools/country/cty.dat";
    EXPECT_TRUE("; " + country_file_note(cty) + "\r\n" + build.exceptions ==
                test::read_file(std::string(VARROW_DATA_DIR) + "/COUNTRY.EXC"))
        << "data/COUNTRY.EXC is not what tools/make_country_list --exceptions makes";
    // With the exceptions every exact call of the file is found where the file puts it.
    EXPECT_EQ(build.real_calls_found, build.real_calls);
    EXPECT_LT(build.real_calls_found_by_ranges, build.real_calls);
}

}  // namespace
}  // namespace vl::tools
