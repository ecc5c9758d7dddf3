// The start-up update from a newer cty.dat: the same rules as the tool that makes the shipped
// files, with the numbers of the country list in use instead of fresh ones.
#include "dxdata/CountryUpdate.h"

#include <algorithm>
#include <map>

#include "country/CountryFile.h"

namespace vl {

std::string country_file_note_of(std::string_view country_file) {
    return tools::country_file_note(country_file);
}

CountryUpdate update_from_country_file(const CountryList& current, std::string_view country_file) {
    CountryUpdate update;
    if (current.count() == 0) {
        update.reason = "COUNTRY.LST holds no countries to number the new ones by.";
        return update;
    }
    std::map<std::string, int, std::less<>> number_of;
    for (int dxcc = 1; dxcc <= current.highest(); ++dxcc) {
        if (current.carries(dxcc)) {
            number_of.emplace(std::string(current.name_of(dxcc)), dxcc);
        }
    }
    std::vector<tools::CountryFileEntity> kept;
    std::vector<int> numbers;
    for (tools::CountryFileEntity& entity : tools::read_country_file(country_file)) {
        auto found = number_of.find(tools::list_name(entity.name));
        if (found == number_of.end()) {
            update.new_countries.push_back(entity.name);
        } else if (std::find(numbers.begin(), numbers.end(), found->second) == numbers.end()) {
            numbers.push_back(found->second);
            kept.push_back(std::move(entity));
        }
    }
    if (kept.empty()) {
        update.reason = "cty.dat names none of the countries of COUNTRY.LST.";
        return update;
    }
    auto build = tools::build_country_list(kept, "", kMaxCountryRecords, &numbers);
    if (!build.error.empty() || !build.wrong.empty()) {
        update.reason = "cty.dat could not be turned into country data.";
        return update;
    }
    update.done = true;
    update.exceptions_text =
        "; " + tools::country_file_note(country_file) + "\r\n" + build.exceptions;
    // The ranges are rewritten only when every record keeps its country and number.
    for (int i = 0; i < current.count(); ++i) {
        int dxcc = current.record(i).dxcc;
        if (std::find(numbers.begin(), numbers.end(), dxcc) == numbers.end()) {
            update.ranges_kept_because =
                "it holds " + current.record(i).name + ", which cty.dat does not name.";
            return update;
        }
    }
    update.list_text = build.text;
    return update;
}

std::string country_update_text(const CountryUpdate& update) {
    if (!update.done) {
        return "cty.dat was not used: " + update.reason +
               " The country data is unchanged. Take cty.dat out of the program folder, or put "
               "a whole one there.";
    }
    std::string text = update.list_text ? "COUNTRY.LST and COUNTRY.EXC were brought up to date "
                                          "from cty.dat."
                                        : "COUNTRY.EXC was brought up to date from cty.dat; "
                                          "COUNTRY.LST is unchanged because " +
                                              update.ranges_kept_because;
    if (!update.new_countries.empty()) {
        text += "\r\nLeft out, since a new country would need a new number: ";
        for (std::size_t i = 0; i < update.new_countries.size(); ++i) {
            text += (i == 0 ? "" : ", ") + update.new_countries[i];
        }
        text += ".";
    }
    return text;
}

}  // namespace vl
