// make_country_list [--exceptions COUNTRY.EXC] CTY.DAT [HOME] > COUNTRY.LST
// Writes the country list from a country file in the cty.dat format, and with --exceptions
// the exact calls and prefixes Find country consults before the ranges. HOME, the country that
// gets DXCC number 1, is given by its name or primary prefix; it is "England" when left out.
// What it had to leave out, and any prefix that would come out wrong, goes to standard error.
#include <algorithm>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "country/CountryFile.h"

int main(int argc, char** argv) {
    std::string exceptions_path;
    if (argc >= 3 && std::string(argv[1]) == "--exceptions") {
        exceptions_path = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: make_country_list [--exceptions COUNTRY.EXC] CTY.DAT [HOME] > "
                     "COUNTRY.LST\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "make_country_list: cannot read " << argv[1] << "\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    auto entities = vl::tools::read_country_file(text.str());
    auto build = vl::tools::build_country_list(entities, argc == 3 ? argv[2] : "England");
    if (!build.error.empty()) {
        std::cerr << "make_country_list: " << build.error << "\n";
        return 1;
    }
    std::cout << build.text;
    if (!exceptions_path.empty()) {
        std::ofstream out(exceptions_path, std::ios::binary);
        out << "; " << vl::tools::country_file_note(text.str()) << "\r\n" << build.exceptions;
        if (!out.flush()) {
            std::cerr << "make_country_list: cannot write " << exceptions_path << "\n";
            return 2;
        }
    }
    std::cerr << build.entities << " countries in " << build.records << " records; "
              << build.exact_calls_kept << " exact calls kept as exceptions\n";
    auto share = [&](int found) {
        std::ostringstream line;
        line << found << " of " << build.real_calls << " (" << std::fixed << std::setprecision(1)
             << 100.0 * found / std::max(build.real_calls, 1) << "%)";
        return line.str();
    };
    std::cerr << "real calls (the country file's exact calls) found in the country the file "
                 "gives them: "
              << share(build.real_calls_found_by_ranges) << " by the ranges alone, "
              << share(build.real_calls_found) << " with the exceptions\n";
    if (!build.real_calls_missed.empty()) {
        std::cerr << "exact calls found elsewhere even with the exceptions:";
        for (const std::string& call : build.real_calls_missed) {
            std::cerr << " " << call;
        }
        std::cerr << "\n";
    }
    if (!build.dropped.empty()) {
        std::cerr << build.dropped.size()
                  << " rarely used prefixes and call forms left out to fit 1001 records:";
        for (const std::string& prefix : build.dropped) {
            std::cerr << " " << prefix;
        }
        std::cerr << "\n";
    }
    if (!build.missing.empty()) {
        std::cerr << "make_country_list: no range left for:";
        for (const std::string& name : build.missing) {
            std::cerr << " \"" << name << "\"";
        }
        std::cerr << "\n";
        return 1;
    }
    if (!build.wrong.empty()) {
        std::cerr << "make_country_list: these prefixes would give the wrong country:";
        for (const std::string& prefix : build.wrong) {
            std::cerr << " " << prefix;
        }
        std::cerr << "\n";
        return 1;
    }
    return 0;
}
