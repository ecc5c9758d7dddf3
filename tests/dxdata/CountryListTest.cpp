// COUNTRY.LST and COUNTRY.EXC: loading, ranges, portable calls, fast lookup, shipped list.
#include <gtest/gtest.h>

#include <random>

#include "dxdata/CountryList.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

constexpr std::string_view kSmallList =
    "DA,DR,Germany,5,51,10\r\n"
    " \"G\" , G ,\"England\",1,52.77,-1.47\r\n"
    "GW,GW,Wales,3,52.28,-3.73\r\n"  // after G: never found, the earlier line wins
    "K,K,United States,6,37.6,-91.87\r\n"
    "KG4,KG4,Guantanamo Bay,7,20,-75\r\n"
    "1A,1A,No country,0,0,0\r\n";

std::string shipped_list() {
    return test::read_file(std::filesystem::path(VARROW_DATA_DIR) / "COUNTRY.LST");
}

// A call as the 12-character call field of a log entry holds it.
std::string stored(std::string call) {
    call.resize(std::max<std::size_t>(call.size(), 12), ' ');
    return call;
}

TEST(CountryList, LoadsFieldsAndRoundsNumbersHalfToEven) {
    CountryList list;
    ASSERT_FALSE(list.load(kSmallList).has_value());
    ASSERT_EQ(list.count(), 6);
    const CountryRecord& g = list.record(1);
    EXPECT_EQ(g.low + g.high + g.name, "GG[England");
    EXPECT_FLOAT_EQ(g.latitude, 52.77f);
    EXPECT_FLOAT_EQ(g.longitude, -1.47f);
    EXPECT_EQ(list.highest(), 7);
    EXPECT_EQ(list.name_of(3), "Wales");
    EXPECT_EQ(list.name_of(4), "");
    EXPECT_FALSE(list.carries(4));
    ASSERT_FALSE(list.load("A,A,a,2.5,0,0\r\nB,B,b,3.5,0,0\r\nC,C,c,4.4,0,0\r\nD,D,d,x,0,0"));
    EXPECT_EQ(list.count(), 4);  // a last line without CR LF is still a record
    EXPECT_EQ(std::vector<int>({list.record(0).dxcc, list.record(1).dxcc, list.record(2).dxcc,
                                list.record(3).dxcc}),
              std::vector<int>({2, 4, 4, 0}));
    CountryList empty;
    EXPECT_EQ(empty.find("G9ZZA") + empty.current() + empty.highest(), -1);
    EXPECT_EQ(empty.current_record(), nullptr);
}

TEST(CountryList, BadLinesStopTheLoadingAndAreNamed) {
    std::string many;
    for (int i = 0; i < 1001; ++i) {
        many += "A,A,a,1,0,0\r\n";
    }
    const char* const kNumbers = "\r\nDXCC numbers run from 0 to 400.";
    const struct {
        std::string text, message;
        int loaded;
    } kCases[] = {
        {"A,A,a,1,0,0\r\nB,B,b,2,0\r\nC,C,c,3,0,0\r\n", "Line 2 of COUNTRY.LST\r\nB,B,b,2,0", 1},
        {"A,A,\"a,b\",1,0,0\r\n", "Line 1 of COUNTRY.LST\r\nA,A,\"a,b\",1,0,0", 0},
        {"A,A,a,1,0,0\r\n\r\nB,B,b,2,0,0\r\n", "Line 2 of COUNTRY.LST\r\n", 1},
        {"A,A,a,1,0,0,\r\n", "Line 1 of COUNTRY.LST\r\nA,A,a,1,0,0,", 0},
        {"A,A,a,401,0,0\r\n", std::string("Line 1 of COUNTRY.LST\r\nA,A,a,401,0,0") + kNumbers, 0},
        {"A,A,a,7,0,0\r\nB,B,b,-1,0,0\r\n",
         std::string("Line 2 of COUNTRY.LST\r\nB,B,b,-1,0,0") + kNumbers, 1},
        {many + "B,B,b,2,0,0\r\n",
         "Line 1002 of COUNTRY.LST\r\nB,B,b,2,0,0\r\nThe list holds at most 1001 lines.", 1001}};
    for (const auto& c : kCases) {
        CountryList list;
        auto error = list.load(c.text);
        ASSERT_TRUE(error.has_value()) << c.message;
        EXPECT_EQ(country_list_error_text(*error), c.message);
        EXPECT_EQ(list.count(), c.loaded) << c.message;
    }
}

TEST(CountryList, RangeRuleInPlainByteOrder) {
    CountryList list;
    list.load(kSmallList);
    const struct {
        const char* call;
        int dxcc, current;
    } kCases[] = {{"DA", 5, 0},       {"DA9ZZX", 5, 0},    {"DR9Z", 5, 0},     {"D", -1, 6},
                  {"DS9ZZA", -1, 6},  {"GW9ZZA", 1, 1},    {"KG4AA", 6, 3},    {"1A0KM", 0, 5},
                  {"", -1, 6},        {"g9zza", -1, 6},    {"G[", 1, 1},       {"G\\", -1, 6},
                  {"G/DL2HS", 1, 1},  {"KG4/DL2HS", 6, 3}, {"G4ABC/2K", 1, 1}, {"G4ABC/1A", 0, 5},
                  {"G4ABC/MM", -1, 6}};
    for (const auto& c : kCases) {
        EXPECT_EQ(list.find(c.call), c.dxcc) << "\"" << c.call << "\"";
        EXPECT_EQ(list.current(), c.current) << "\"" << c.call << "\"";
        EXPECT_EQ(list.current_record() == nullptr, c.dxcc == -1) << c.call;
    }
    // A record of empty fields holds everything below the bracket.
    ASSERT_FALSE(list.load("G,G,England,1,0,0\r\n,,,,,\r\n").has_value());
    EXPECT_EQ(list.find("D2A") + list.find(""), 0);
    EXPECT_EQ(list.current(), 1);
    EXPECT_EQ(list.find("g4abc"), -1);
}

// A portable call is looked up by the part that names its country, in either order.
TEST(CountryList, PortableCallParts) {
    const struct {
        const char *call, *part;  // nullptr: in no country
    } kCases[] = {{"DL2HS/EA8", "EA8"},     {"EA8/DL2HS", "EA8"},     {"F/G3ABC", "F"},
                  {"G3ABC/P", "G3ABC"},     {"G3ABC/M", "G3ABC"},     {"G3ABC/QRP", "G3ABC"},
                  {"G3ABC/A", "G3ABC"},     {"G3ABC/B", "G3ABC"},     {"W1ABC/4", "W1ABC"},
                  {"3D2HY/R", "3D2HY"},     {"G0IBN/LH", "G0IBN"},    {"GM0AZC/2K", "2K"},
                  {"VP2E/W1ABC/P", "VP2E"}, {"ZL4DB/P/VK0M", "VK0M"}, {"KH8S/K3UY", "KH8S"},
                  {"MM/DL2HS", "MM"},       {"G3ABC/MM", nullptr},    {"G3ABC/AM", nullptr},
                  {"G3ABC/MM/P", nullptr},  {"/DATA", "/DATA"},       {"G3ABC/", "G3ABC/"},
                  {"G3ABC/P?", "G3ABC/P?"}, {"G3ABC", "G3ABC"}};
    for (const auto& c : kCases) {
        // As typed, and as stored in the call field (where a call that stays whole keeps its
        // blanks).
        for (const std::string& call : {std::string(c.call), stored(c.call)}) {
            CallParts parts = call_parts(call);
            EXPECT_EQ(parts.in_no_country, c.part == nullptr) << call;
            const bool whole = c.part && std::string_view(c.part) == c.call;
            EXPECT_EQ(parts.prefix, whole ? call : c.part ? c.part : parts.prefix) << call;
        }
    }
}

// Calls of every shape, and every range bound with a byte more or less, on the shipped list
// and on random overlapping and back-to-front ranges over a small alphabet.
TEST(CountryList, TheFastLookupGivesExactlyThePlainScansAnswers) {
    std::mt19937 random(7);
    std::vector<std::string> lists = {std::string(kSmallList), shipped_list()};
    for (int n = 0; n < 5; ++n) {
        std::string text;
        for (int i = 0; i < 200; ++i) {
            std::string low, high;
            for (std::string* w : {&low, &high}) {
                for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k) {
                    *w += "AB09Z"[random() % 5];
                }
            }
            text += low + "," + high + ",c," + std::to_string(random() % 401) + ",0,0\r\n";
        }
        lists.push_back(text);
    }
    static const std::string kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/ [\\az\x80\xFF";
    static const char* kSuffixes[] = {"/P", "/MM", "/AM", "/QRP", "/7", "/R", "/", "/MM/P"};
    for (const std::string& text : lists) {
        CountryList fast, plain;
        fast.load(text);
        plain.load(text);
        std::vector<std::string> calls = {"", "/", "\xFF", std::string(200, 'Z'), "g9zza"};
        for (int i = 0; i < 20000; ++i) {
            std::string call;
            for (int k = static_cast<int>(random() % 13); k > 0; --k) {
                call += kAlphabet[random() % (call.size() < 4 ? 36 : kAlphabet.size())];
            }
            calls.push_back(call);
        }
        for (int i = 0; i < fast.count(); ++i) {
            const std::string& other = fast.record(static_cast<int>(random() % fast.count())).low;
            const CountryRecord& r = fast.record(i);
            calls.insert(calls.end(), {r.low + "/" + other + "1ABC", other + "1ABC/" + r.low,
                                       r.low + "1AB" + kSuffixes[random() % 8]});
            for (std::string bound : {r.low, r.high}) {
                calls.insert(calls.end(), {bound, bound + "1ZZ", bound + " "});
                if (!bound.empty()) {
                    calls.push_back(bound.substr(0, bound.size() - 1));
                    bound.back() = static_cast<char>(bound.back() - 1);
                    calls.push_back(bound + "ZZZ");
                }
            }
        }
        for (const std::string& call : calls) {
            ASSERT_EQ(fast.find(call), plain.find_by_scan(call)) << "\"" << call << "\"";
            ASSERT_EQ(fast.current(), plain.current()) << "\"" << call << "\"";
        }
    }
}

constexpr std::string_view kListBesideExceptions =
    "GM,GM,Scotland,2,56.82,-4.18\r\nG,G,England,1,52.77,-1.47\r\n"
    "DA,DR,Germany,5,51,10\r\nF,F,France,8,46,2\r\nLA,LN,Norway,9,61,9\r\n"
    "3D2C,3D2C,Conway Reef,11,-22,175\r\n3D2,3D2,Fiji,10,-17.78,177.92\r\n";

// COUNTRY.EXC as the tool writes it, with every kind of bad line after the good ones: a
// number the list does not carry, another number's name, no items, no number, an item no
// call can hold, a prefix with a slash.
constexpr std::string_view kExceptions =
    "; made from cty.dat 0123abcd\r\n1,England,G M 2E\r\n2,Scotland,GM MM 2M\r\n"
    "5,Germany,DA DL\r\n8,France,F\r\n9,Norway,LA LB\r\n10,Fiji,3D2\r\n"
    "11,Conway Reef,=3D20CR =3D2CR "
    "=3D2C0123456789ABCDEF\r\n12,Nowhere,XX\r\n1,Scotland,GM\r\n2,Scotland\r\n"
    "A5,England,G\r\n5,Germany,D?L\r\n5,Germany,D/L\r\n\r\n";

// Exact calls first, then portable parts with or without a digit; each row also says what
// the ranges alone give, as when COUNTRY.EXC is missing or damaged ("": no country).
TEST(CountryList, ExceptionsExactCallsAndPortableParts) {
    const struct {
        const char *call, *with_exceptions, *ranges_alone;
    } kCases[] = {{"3D20CR", "Conway Reef", "Fiji"},
                  {"3D20CR/P", "Conway Reef", "Fiji"},
                  {"3D2CR", "Conway Reef", "Conway Reef"},
                  {"3D2AB", "Fiji", "Fiji"},
                  {"3D2CQ", "Fiji", "Conway Reef"},
                  {"G3YRZ/GM", "Scotland", "England"},
                  {"G3YRZ/F", "France", "England"},
                  {"DL1ABC/G", "England", "Germany"},
                  {"F/G3YRZ", "France", "France"},
                  {"G3YRZ/LH", "England", "England"},
                  {"G3YRZ/LA", "Norway", "England"},
                  {"G3YRZ/M", "England", "England"},
                  {"G3YRZ/QRP", "England", "England"},
                  {"G3YRZ/7", "England", "England"},
                  {"DL1ABC/SOTA", "Germany", "Germany"},
                  {"DL1ABC/3D2", "Fiji", "Fiji"},
                  {"G3YRZ/MM", "", ""},
                  {"G3YRZ/AM", "", ""},
                  {"MM/DL1ABC", "Scotland", "Germany"},
                  {"XX1AB", "", ""}};
    CountryList with, without;
    ASSERT_FALSE(with.load(kListBesideExceptions).has_value());
    ASSERT_FALSE(without.load(kListBesideExceptions).has_value());
    CountryExceptionsReport report = with.load_exceptions(kExceptions);
    EXPECT_EQ(report.lines_used, 7);
    EXPECT_EQ(report.lines_left_out, 6);
    EXPECT_EQ(report.source_note, "made from cty.dat 0123abcd");
    auto answer = [](CountryList& list, const char* call) -> std::string {
        int dxcc = list.find(call);
        const CountryRecord* record = list.current_record();
        EXPECT_EQ(record ? record->dxcc : -1, dxcc) << call;
        return record ? record->name : "";
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(answer(with, stored(c.call).c_str()), c.with_exceptions) << c.call;
        EXPECT_EQ(answer(with, c.call), c.with_exceptions) << c.call;
        EXPECT_EQ(answer(without, c.call), c.ranges_alone) << c.call;
        int fast = with.find(c.call);
        EXPECT_EQ(with.find_by_scan(c.call), fast) << c.call;
    }
    EXPECT_TRUE(with.has_exceptions());
    // Loading the list again drops the exceptions, which were checked against the old one.
    ASSERT_FALSE(with.load(kListBesideExceptions).has_value());
    EXPECT_FALSE(with.has_exceptions());
}

// Every number up to the highest is a country (the reports speak each), and calls of rare
// entities, regions and portable forms land where the country file puts them.
TEST(CountryList, TheShippedList) {
    CountryList list;
    ASSERT_FALSE(list.load(shipped_list()).has_value());
    EXPECT_LE(list.highest(), 400);
    for (int dxcc = 1; dxcc <= list.highest(); ++dxcc) {
        EXPECT_TRUE(list.carries(dxcc)) << dxcc;
    }
    const struct {
        const char *call, *country;  // nullptr: in no country
    } kCases[] = {{"G4ABC", "England"},
                  {"2W0AAA", "Wales"},
                  {"MM0XYZ", "Scotland"},
                  {"GB2RS", "England"},
                  {"UA2FAA", "Kaliningrad"},
                  {"UA9XA", "European Russia"},
                  {"RA9AA", "Asiatic Russia"},
                  {"LU1ZAB", "Antarctica"},
                  {"4U1ITU", "ITU HQ"},
                  {"AX0MQI", "Macquarie Island"},
                  {"3D2CR", "Conway Reef"},
                  {"SV2ASP/A", "Mount Athos"},
                  {"E51JD", "South Cook Islands"},
                  {"ZK1NCI", "North Cook Islands"},
                  {"KH8S/K3UY", "Swains Island"},
                  {"W1ABC/VP2E/P", "Anguilla"},
                  {"DL2HS/EA8", "Canary Islands"},
                  {"KH6/W1ABC", "Hawaii"},
                  {"GW4ABC/M", "Wales"},
                  {"DL2HS/AM", nullptr}};
    for (const auto& c : kCases) {
        int dxcc = list.find(stored(c.call));
        EXPECT_EQ(dxcc >= 1 ? list.current_record()->name : "", c.country ? c.country : "");
        EXPECT_EQ(list.name_of(dxcc), c.country ? c.country : "") << c.call;
    }
    list.find("JA1ABC");  // east positive
    EXPECT_GT(list.current_record()->longitude, 100.0f);
}

}  // namespace
}  // namespace vl
