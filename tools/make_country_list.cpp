// make_country_list CTY.DAT [HOME] > COUNTRY.LST
// Writes the country list from a country file in the cty.dat format. HOME, the country that
// gets DXCC number 1, is given by its name or primary prefix; it is "England" when left out.
// What it had to leave out, and any prefix that would come out wrong, goes to standard error.
#include <algorithm>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "country/CountryFile.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: make_country_list CTY.DAT [HOME] > COUNTRY.LST\n";
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
    std::cerr << build.entities << " countries in " << build.records << " records\n";
    std::cerr << build.real_calls_found << " of " << build.real_calls
              << " real calls (the country file's exact calls) found in the same country as the"
                 " country file gives them: "
              << std::fixed << std::setprecision(1)
              << 100.0 * build.real_calls_found / std::max(build.real_calls, 1) << "%\n";
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
