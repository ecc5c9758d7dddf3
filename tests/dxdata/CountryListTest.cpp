// COUNTRY.LST loading, the first-match range rule, the fast lookup against the plain scan,
// and the country list shipped with the program.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "dxdata/CountryList.h"
#include "dxdata/PortableCall.h"

namespace vl {
namespace {

constexpr std::string_view kSmallList =
    "DA,DR,Fed. Rep. of Germany,5,51,10\r\n"
    " \"G\" , G ,\"England\",1,52.77,-1.47\r\n"
    "GW,GW,Wales,3,52.28,-3.73\r\n"  // after G: never found, the earlier line wins
    "K,K,United States,6,37.6,-91.87\r\n"
    "KG4,KG4,Guantanamo Bay,7,20,-75\r\n"  // after K: never found either
    "1A,1A,No country,0,0,0\r\n";

TEST(CountryListLoad, FieldsBlanksQuotesAndNumbers) {
    CountryList list;
    ASSERT_FALSE(list.load(kSmallList).has_value());
    ASSERT_EQ(list.count(), 6);
    EXPECT_EQ(list.record(1).low, "G");
    EXPECT_EQ(list.record(1).high, "G[");
    EXPECT_EQ(list.record(1).name, "England");
    EXPECT_FLOAT_EQ(list.record(1).latitude, 52.77f);
    EXPECT_FLOAT_EQ(list.record(1).longitude, -1.47f);
    EXPECT_EQ(list.highest(), 7);
    EXPECT_EQ(list.name_of(3), "Wales");
    EXPECT_EQ(list.name_of(4), "");
    EXPECT_FALSE(list.carries(4));
}

TEST(CountryListLoad, DxccNumbersRoundHalvesToEven) {
    CountryList list;
    ASSERT_FALSE(
        list.load("A,A,a,2.5,0,0\r\nB,B,b,3.5,0,0\r\nC,C,c,4.4,0,0\r\nD,D,d,x,0,0").has_value());
    EXPECT_EQ(list.record(0).dxcc, 2);
    EXPECT_EQ(list.record(1).dxcc, 4);
    EXPECT_EQ(list.record(2).dxcc, 4);
    EXPECT_EQ(list.record(3).dxcc, 0);  // no number reads as 0
    EXPECT_EQ(list.count(), 4);         // a last line without CR LF is still a record
}

TEST(CountryListLoad, BadLinesStopTheLoadingAndAreNamed) {
    struct Case {
        std::string text;
        int loaded;
        const char* message;
    };
    std::string many;
    for (int i = 0; i < 1001; ++i) {
        many += "A,A,a,1,0,0\r\n";
    }
    const Case kCases[] = {
        {"A,A,a,1,0,0\r\nB,B,b,2,0\r\nC,C,c,3,0,0\r\n", 1, "Line 2 of COUNTRY.LST\r\nB,B,b,2,0"},
        {"A,A,\"a,b\",1,0,0\r\n", 0, "Line 1 of COUNTRY.LST\r\nA,A,\"a,b\",1,0,0"},
        {"A,A,a,1,0,0\r\n\r\nB,B,b,2,0,0\r\n", 1, "Line 2 of COUNTRY.LST\r\n"},
        {"A,A,a,1,0,0,\r\n", 0, "Line 1 of COUNTRY.LST\r\nA,A,a,1,0,0,"},
        {"A,A,a,401,0,0\r\n", 0,
         "Line 1 of COUNTRY.LST\r\nA,A,a,401,0,0\r\nDXCC numbers run from 0 to 400."},
        {"A,A,a,7,0,0\r\nB,B,b,-1,0,0\r\n", 1,
         "Line 2 of COUNTRY.LST\r\nB,B,b,-1,0,0\r\nDXCC numbers run from 0 to 400."},
        {many + "B,B,b,2,0,0\r\n", 1001,
         "Line 1002 of COUNTRY.LST\r\nB,B,b,2,0,0\r\nThe list holds at most 1001 lines."},
    };
    for (const Case& c : kCases) {
        CountryList list;
        auto error = list.load(c.text);
        ASSERT_TRUE(error.has_value()) << c.message;
        EXPECT_EQ(country_list_error_text(*error), c.message);
        EXPECT_EQ(list.count(), c.loaded) << c.message;
    }
    CountryList full;
    EXPECT_FALSE(full.load(many).has_value());
    EXPECT_EQ(full.count(), 1001);
}

TEST(FindCountry, RangeRuleInPlainByteOrder) {
    CountryList list;
    list.load(kSmallList);
    struct Case {
        const char* call;
        int dxcc;
        int current;
    };
    static const Case kCases[] = {
        {"DA", 5, 0},           {"DA9ZZX", 5, 0}, {"DL9ZZA", 5, 0},  {"DR9Z", 5, 0},
        {"D", -1, 6},           {"D2A", -1, 6},   {"DS9ZZA", -1, 6}, {"GW9ZZA", 1, 1},
        {"G9ZZA       ", 1, 1}, {"KG4AA", 6, 3},  {"1A0KM", 0, 5},   {"", -1, 6},
        {"g9zza", -1, 6},       {"G[", 1, 1},     {"G\\", -1, 6},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(list.find(c.call), c.dxcc) << "\"" << c.call << "\"";
        EXPECT_EQ(list.current(), c.current) << "\"" << c.call << "\"";
        EXPECT_EQ(list.current_record() == nullptr, c.dxcc == -1) << c.call;
    }
}

TEST(FindCountry, ARecordWithEmptyFieldsHoldsEverythingBelowTheBracket) {
    CountryList list;
    ASSERT_FALSE(list.load("G,G,England,1,0,0\r\n,,,,,\r\n").has_value());
    EXPECT_EQ(list.record(1).name, "");
    EXPECT_EQ(list.find("G4ABC"), 1);
    EXPECT_EQ(list.find(""), 0);
    EXPECT_EQ(list.find("D2A"), 0);
    EXPECT_EQ(list.current(), 1);
    EXPECT_EQ(list.find("g4abc"), -1);
}

TEST(FindCountry, AnEmptyListFindsNothing) {
    CountryList list;
    EXPECT_EQ(list.find("G9ZZA"), -1);
    EXPECT_EQ(list.current(), 0);
    EXPECT_EQ(list.current_record(), nullptr);
    EXPECT_EQ(list.highest(), 0);
}

// "DL2HS/EA8" was credited to Germany, putting a wrong mark on the chart: a portable call is
// looked up by the part that names its country, in either order.
TEST(FindCountry, PortableCallsAreLookedUpByTheirCountryPart) {
    struct Case {
        const char* call;
        const char* part;  // nullptr: in no country
    };
    static const Case kCases[] = {
        {"DL2HS/EA8", "EA8"},
        {"EA8/DL2HS", "EA8"},
        {"DL2HS/EA8   ", "EA8"},  // as stored in the 12-character call field
        {"F/G3ABC", "F"},
        {"G3ABC/P", "G3ABC"},
        {"G3ABC/M", "G3ABC"},
        {"G3ABC/QRP", "G3ABC"},
        {"G3ABC/A", "G3ABC"},
        {"G3ABC/B", "G3ABC"},
        {"W1ABC/4", "W1ABC"},
        {"3D2HY/R", "3D2HY"},   // letters alone after the call are no country
        {"G0IBN/LH", "G0IBN"},  // a lighthouse, not Norway
        {"GM0AZC/2K", "2K"},    // no country's prefix: the call is looked up instead
        {"VP2E/W1ABC/P", "VP2E"},
        {"ZL4DB/P/VK0M", "VK0M"},
        {"KH8S/K3UY", "KH8S"},  // of two as long, the first is the prefix
        {"MM/DL2HS", "MM"},     // Scotland, before the call
        {"G3ABC/MM", nullptr},
        {"G3ABC/AM", nullptr},
        {"G3ABC/MM/P", nullptr},
        {"G3ABC/MM    ", nullptr},
        {"/DATA", "/DATA"},  // DATA and Text entries stay whole and match no call
        {"G3ABC/", "G3ABC/"},
        {"G3ABC/P?", "G3ABC/P?"},
        {"G3ABC", "G3ABC"},
        {"G3ABC       ", "G3ABC       "},
    };
    for (const Case& c : kCases) {
        CallParts parts = call_parts(c.call);
        EXPECT_EQ(parts.in_no_country, c.part == nullptr) << c.call;
        if (c.part != nullptr) {
            EXPECT_EQ(parts.prefix, c.part) << c.call;
        }
    }
    CountryList list;
    list.load(kSmallList);
    for (auto find : {&CountryList::find, &CountryList::find_by_scan}) {
        EXPECT_EQ((list.*find)("G/DL2HS  "), 1);
        EXPECT_EQ(list.current(), 1);
        EXPECT_EQ((list.*find)("KG4/DL2HS   "), 6);
        EXPECT_EQ((list.*find)("G4ABC/2K    "), 1);
        EXPECT_EQ(list.current(), 1);
        EXPECT_EQ((list.*find)("G4ABC/MM    "), -1);
        EXPECT_EQ(list.current(), list.count());
        EXPECT_EQ(list.current_record(), nullptr);
    }
}

std::string read_shipped(const char* name) {
    std::ifstream in(std::string(VARROW_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Calls of every shape: real-looking, lower case, empty, very long, punctuation, bytes
// above 127, and every range bound with a byte more or less.
std::vector<std::string> awkward_calls(const CountryList& list, std::mt19937& random) {
    std::vector<std::string> calls = {"",      " ", "/", "[", "\xFF", std::string(200, 'Z'),
                                      "g9zza", "0", "9"};
    static const std::string kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/ [\\az\x80\xFF";
    for (int i = 0; i < 20000; ++i) {
        std::string call;
        int length = static_cast<int>(random() % 13);
        for (int k = 0; k < length; ++k) {
            call += kAlphabet[random() % (k < 4 ? 36 : kAlphabet.size())];
        }
        calls.push_back(call);
    }
    static const char* kSuffixes[] = {"/P", "/MM", "/AM", "/QRP", "/7", "/R", "/", "/MM/P"};
    for (int i = 0; i < list.count(); ++i) {
        // Portable forms: a bound as the country part, before and after a call.
        const CountryRecord& other = list.record(static_cast<int>(random() % list.count()));
        calls.push_back(list.record(i).low + "/" + other.low + "1ABC");
        calls.push_back(other.low + "1ABC/" + list.record(i).low);
        calls.push_back(list.record(i).low + "1AB" + kSuffixes[random() % 8]);
        for (std::string bound : {list.record(i).low, list.record(i).high}) {
            calls.push_back(bound);
            calls.push_back(bound + "1ZZ");
            calls.push_back(bound + " ");
            if (!bound.empty()) {
                calls.push_back(bound.substr(0, bound.size() - 1));
                std::string less = bound;
                less.back() = static_cast<char>(less.back() - 1);
                calls.push_back(less + "ZZZ");
            }
        }
    }
    return calls;
}

TEST(FindCountry, TheFastLookupGivesExactlyThePlainScansAnswers) {
    std::mt19937 random(7);
    std::vector<std::string> lists = {std::string(kSmallList), read_shipped("COUNTRY.LST")};
    // Random overlapping and back-to-front ranges over a small alphabet.
    for (int n = 0; n < 5; ++n) {
        std::string text;
        for (int i = 0; i < 200; ++i) {
            auto word = [&] {
                std::string w;
                for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k) {
                    w += "AB09Z"[random() % 5];
                }
                return w;
            };
            text += word() + "," + word() + ",c," + std::to_string(random() % 401) + ",0,0\r\n";
        }
        lists.push_back(text);
    }
    for (const std::string& text : lists) {
        CountryList fast, plain;
        fast.load(text);
        plain.load(text);
        ASSERT_GT(fast.count(), 0);
        for (const std::string& call : awkward_calls(fast, random)) {
            int expected = plain.find_by_scan(call);
            ASSERT_EQ(fast.find(call), expected) << "\"" << call << "\"";
            ASSERT_EQ(fast.current(), plain.current()) << "\"" << call << "\"";
        }
    }
}

constexpr std::string_view kListBesideExceptions =
    "GM,GM,Scotland,2,56.82,-4.18\r\n"
    "G,G,England,1,52.77,-1.47\r\n"
    "DA,DR,Fed. Rep. of Germany,5,51,10\r\n"
    "F,F,France,8,46,2\r\n"
    "LA,LN,Norway,9,61,9\r\n"
    "3D2C,3D2C,Conway Reef,11,-22,175\r\n"
    "3D2,3D2,Fiji,10,-17.78,177.92\r\n";

// COUNTRY.EXC as the tool writes it, with every kind of bad line after the good ones.
constexpr std::string_view kExceptions =
    "; made from cty.dat 0123abcd\r\n"
    "1,England,G M 2E\r\n"
    "2,Scotland,GM MM 2M\r\n"
    "5,Fed. Rep. of Germany,DA DL\r\n"
    "8,France,F\r\n"
    "9,Norway,LA LB\r\n"
    "10,Fiji,3D2\r\n"
    "11,Conway Reef,=3D20CR =3D2CR\r\n"
    "12,Nowhere,XX\r\n"               // a number the list does not carry
    "1,Scotland,GM\r\n"               // the name of another number
    "2,Scotland\r\n"                  // no items field
    "A5,England,G\r\n"                // no number
    "5,Fed. Rep. of Germany,D?L\r\n"  // an item no call can hold
    "5,Fed. Rep. of Germany,D/L\r\n"  // a prefix with a slash
    "\r\n";

TEST(CountryExceptions, BadLinesAreLeftOutAndTheGoodOnesUsed) {
    CountryList list;
    ASSERT_FALSE(list.load(kListBesideExceptions).has_value());
    CountryExceptionsReport report = list.load_exceptions(kExceptions);
    EXPECT_EQ(report.lines_used, 7);
    EXPECT_EQ(report.lines_left_out, 6);
    EXPECT_EQ(report.source_note, "made from cty.dat 0123abcd");
    EXPECT_TRUE(list.has_exceptions());
    // The left-out lines gave nothing: XX, D?L and the second Scotland line are unknown.
    EXPECT_EQ(list.find("XX1AB"), -1);
    EXPECT_EQ(list.find("GM4AB"), 2);
    // Loading the list again drops the exceptions, which were checked against the old one.
    ASSERT_FALSE(list.load(kListBesideExceptions).has_value());
    EXPECT_FALSE(list.has_exceptions());
}

// Exact calls first, then portable parts with or without a digit, as the country file's users
// read them. Each case also says what the ranges alone give, which is how the program reads
// calls when COUNTRY.EXC is missing or damaged.
TEST(CountryExceptions, ExactCallsAndPortablePartsAsTheCountryFileMeansThem) {
    struct Case {
        const char* call;
        const char* with_exceptions;  // "" for no country
        const char* ranges_alone;
    };
    static const Case kCases[] = {
        {"3D20CR", "Conway Reef", "Fiji"},        // one call, no range can carry it
        {"3D20CR      ", "Conway Reef", "Fiji"},  // as the 12-character call field holds it
        {"3D20CR/P", "Conway Reef", "Fiji"},      // portable form of an exact call
        {"3D2CR", "Conway Reef", "Conway Reef"},  // the 3D2C range holds it too
        {"3D2AB", "Fiji", "Fiji"},
        {"3D2CQ", "Fiji", "Conway Reef"},     // longest listed prefix: 3D2
        {"G3YRZ/GM", "Scotland", "England"},  // a suffix without a digit
        {"G3YRZ/F", "France", "England"},
        {"DL1ABC/G", "England", "Fed. Rep. of Germany"},
        {"F/G3YRZ", "France", "France"},     // before the call it always counted
        {"G3YRZ/LH", "England", "England"},  // lighthouse, though LH is a range of Norway
        {"G3YRZ/LA", "Norway", "England"},
        {"G3YRZ/P", "England", "England"},
        {"G3YRZ/M", "England", "England"},  // M is a prefix of England, here mobile
        {"G3YRZ/QRP", "England", "England"},
        {"G3YRZ/R", "England", "England"},
        {"DL1ABC/SOTA", "Fed. Rep. of Germany", "Fed. Rep. of Germany"},  // no known prefix
        {"G3YRZ/7", "England", "England"},  // a call area never moves a call
        {"DL1ABC/3D2", "Fiji", "Fiji"},     // with a digit it always counted
        {"G3YRZ/MM", "", ""},
        {"G3YRZ/AM", "", ""},
        {"MM/DL1ABC", "Scotland", "Fed. Rep. of Germany"},  // no range holds MM here
    };
    CountryList with, without;
    ASSERT_FALSE(with.load(kListBesideExceptions).has_value());
    ASSERT_FALSE(without.load(kListBesideExceptions).has_value());
    with.load_exceptions(kExceptions);
    auto answer = [](CountryList& list, const char* call) -> std::string {
        int dxcc = list.find(call);
        if (dxcc < 0) {
            EXPECT_EQ(list.current_record(), nullptr) << call;
            return "";
        }
        EXPECT_EQ(list.current_record()->dxcc, dxcc) << call;
        return list.current_record()->name;
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(answer(with, c.call), c.with_exceptions) << c.call;
        EXPECT_EQ(answer(without, c.call), c.ranges_alone) << c.call;
        // The plain scan gives the same answer with the exceptions in front of it.
        int fast = with.find(c.call);
        EXPECT_EQ(with.find_by_scan(c.call), fast) << c.call;
    }
}

TEST(ShippedCountryList, LoadsCleanlyAndFindsRealCallsOnEveryContinent) {
    CountryList list;
    std::string text = read_shipped("COUNTRY.LST");
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(list.load(text).has_value());
    EXPECT_LE(list.count(), kMaxCountryRecords);
    EXPECT_LE(list.highest(), 400);
    EXPECT_EQ(list.name_of(1), "England");
    struct Case {
        const char* call;
        const char* country;
    };
    static const Case kCases[] = {
        // Europe, with the regions of the British Isles
        {"G4ABC", "England"},
        {"M0XYZ", "England"},
        {"2E0AAA", "England"},
        {"GW4ABC", "Wales"},
        {"MW0XYZ", "Wales"},
        {"2W0AAA", "Wales"},
        {"GM3ABC", "Scotland"},
        {"MM0XYZ", "Scotland"},
        {"2M0AAA", "Scotland"},
        {"GI4ABC", "Northern Ireland"},
        {"MI0AAA", "Northern Ireland"},
        {"GD4ABC", "Isle of Man"},
        {"MD0AAA", "Isle of Man"},
        {"GJ4ABC", "Jersey"},
        {"MJ0AAA", "Jersey"},
        {"GU4ABC", "Guernsey"},
        {"MU0AAA", "Guernsey"},
        {"DL1ABC", "Fed. Rep. of Germany"},
        {"F5ABC", "France"},
        {"EA4XYZ", "Spain"},
        {"EA8ABC", "Canary Islands"},
        {"I2ABC", "Italy"},
        {"UA3ABC", "European Russia"},
        {"UA2FAA", "Kaliningrad"},
        {"OH2ABC", "Finland"},
        {"SP5ABC", "Poland"},
        // Asia
        {"UA9ABC", "Asiatic Russia"},
        {"JA1ABC", "Japan"},
        {"BY1AA", "China"},
        {"VU2ABC", "India"},
        {"HL1ABC", "Republic of Korea"},
        // Africa
        {"ZS6ABC", "South Africa"},
        {"5Z4ABC", "Kenya"},
        {"SU1AA", "Egypt"},
        // North America
        {"K1ABC", "United States"},
        {"W6XYZ", "United States"},
        {"VE3ABC", "Canada"},
        {"XE1ABC", "Mexico"},
        {"KL7ABC", "Alaska"},
        {"KH6ABC", "Hawaii"},
        {"KP4ABC", "Puerto Rico"},
        // South America
        {"PY2ABC", "Brazil"},
        {"LU1ABC", "Argentina"},
        {"CE3ABC", "Chile"},
        {"PY0FAA", "Fernando de Noronha"},
        // Oceania and Antarctica
        {"VK2ABC", "Australia"},
        {"ZL1ABC", "New Zealand"},
        {"LU1ZAB", "Antarctica"},
    };
    for (const Case& c : kCases) {
        std::string call = c.call;
        call.resize(12, ' ');  // as stored in a log entry
        int dxcc = list.find(call);
        ASSERT_GE(dxcc, 1) << c.call;
        EXPECT_EQ(list.current_record()->name, c.country) << c.call;
        EXPECT_EQ(list.name_of(dxcc), c.country) << c.call;
    }
    // East-positive longitudes: Japan east, the United States west.
    list.find("JA1ABC");
    EXPECT_GT(list.current_record()->longitude, 100.0f);
    list.find("W1AW");
    EXPECT_LT(list.current_record()->longitude, -60.0f);
}

// 19 entities were missing from the list, so a contact with a DXpedition there could never
// be credited and the reports opened with nameless lines. Each row is a call its stations
// really used, as the country file lists it.
TEST(ShippedCountryList, FindsTheRareEntitiesRegionsAndPortableCalls) {
    CountryList list;
    ASSERT_FALSE(list.load(read_shipped("COUNTRY.LST")).has_value());
    struct Case {
        const char* call;
        const char* country;  // nullptr: in no country
    };
    static const Case kCases[] = {
        // The entities the country file lists only by exact calls
        {"4U1ITU", "ITU HQ"},
        {"4U1UN", "United Nations HQ"},
        {"VK0EK", "Heard Island"},
        {"VK0MT", "Macquarie Island"},
        {"AX0MQI", "Macquarie Island"},
        {"3D2CR", "Conway Reef"},
        {"3D2CY", "Conway Reef"},
        {"3D2R", "Rotuma Island"},
        {"3D2RRR", "Rotuma Island"},
        {"3Y0J", "Bouvet"},
        {"3Y0C", "Bouvet"},
        {"3Y0X", "Peter 1 Island"},
        {"SV2ASP/A", "Mount Athos"},
        {"FK8IK/C", "Chesterfield Islands"},
        {"FO0WII", "Austral Islands"},
        {"TX7M", "Marquesas Islands"},
        {"FO5QS/M", "Marquesas Islands"},
        {"FO0AAA", "Clipperton Island"},
        {"JD1BME", "Minami Torishima"},
        {"JD1YAA", "Minami Torishima"},
        {"KH8SI", "Swains Island"},
        {"KH8S/K3UY", "Swains Island"},
        {"VP6D", "Ducie Island"},
        {"VP6DX", "Ducie Island"},
        {"VP8PJ", "South Orkney Islands"},
        {"BS7H", "Scarborough Reef"},
        {"E51MAN", "North Cook Islands"},
        {"E51JD", "South Cook Islands"},  // the North takes only the forms its calls use
        {"ZK1NCI", "North Cook Islands"},
        // The regions of the United Kingdom and their neighbours
        {"GB2RS", "England"},
        {"GC4ABC", "Wales"},
        {"GS3ABC", "Scotland"},
        {"GN4ABC", "Northern Ireland"},
        {"GT4ABC", "Isle of Man"},
        {"GH4ABC", "Jersey"},
        {"GP4ABC", "Guernsey"},
        {"2D0ABC", "Isle of Man"},
        {"2J0ABC", "Jersey"},
        {"2U0ABC", "Guernsey"},
        {"2I0ABC", "Northern Ireland"},
        // The Russian oblast blocks
        {"UA2FAA", "Kaliningrad"},
        {"RA2FA", "Kaliningrad"},
        {"R2FU", "Kaliningrad"},
        {"UA9FAA", "European Russia"},
        {"UA9XA", "European Russia"},
        {"RA9AA", "Asiatic Russia"},
        {"UA0AA", "Asiatic Russia"},
        {"R1FJL", "Franz Josef Land"},
        {"UA6AA", "European Russia"},
        // The United States' islands
        {"KH0AB", "Mariana Islands"},
        {"KH2AB", "Guam"},
        {"KH7K", "Kure Island"},
        {"KH8AB", "American Samoa"},
        {"KH9AB", "Wake Island"},
        {"KL7AB", "Alaska"},
        {"KP1AB", "Navassa Island"},
        {"KP2AB", "US Virgin Islands"},
        {"KP5AB", "Desecheo Island"},
        // VP2, VP5, VP8
        {"VP2EE", "Anguilla"},
        {"VP2MA", "Montserrat"},
        {"VP2VB", "British Virgin Islands"},
        {"VP5AB", "Turks & Caicos Islands"},
        {"VP8LP", "Falkland Islands"},
        {"VP0S", "South Sandwich Islands"},
        // Portable calls, in both orders
        {"DL2HS/EA8", "Canary Islands"},
        {"EA8/DL2HS", "Canary Islands"},
        {"G4ABC/EA6", "Balearic Islands"},
        {"F/G3ABC", "France"},
        {"VP2E/W1ABC", "Anguilla"},
        {"W1ABC/VP2E/P", "Anguilla"},
        {"KH6/W1ABC", "Hawaii"},
        {"MM/DL2HS", "Scotland"},
        {"G4ABC/P", "England"},
        {"GW4ABC/M", "Wales"},
        {"G4ABC/MM", nullptr},
        {"DL2HS/AM", nullptr},
    };
    for (const Case& c : kCases) {
        std::string call = c.call;
        call.resize(std::max<std::size_t>(call.size(), 12), ' ');  // as stored in a log entry
        int dxcc = list.find(call);
        if (c.country == nullptr) {
            EXPECT_EQ(dxcc, -1) << c.call;
            continue;
        }
        ASSERT_GE(dxcc, 1) << c.call;
        EXPECT_EQ(list.current_record()->name, c.country) << c.call;
    }
}

// The reports count and speak every number from 1 to the highest: none may be a gap.
TEST(ShippedCountryList, EveryNumberIsACountry) {
    CountryList list;
    ASSERT_FALSE(list.load(read_shipped("COUNTRY.LST")).has_value());
    for (int dxcc = 1; dxcc <= list.highest(); ++dxcc) {
        EXPECT_TRUE(list.carries(dxcc)) << dxcc;
    }
}

}  // namespace
}  // namespace vl
