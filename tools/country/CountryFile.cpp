// The country-list generator.
//
// A prefix P of entity E becomes the range P..P, which holds every call starting with P.
// Deeper prefixes stand before the shorter ones that contain them, so the first match is
// the longest listed prefix, as the country file means it. To fit the record limit, a prefix
// whose entity is already that of its longest shorter prefix is left out (it changes
// nothing), and neighbouring prefixes of one entity under the same parent become one range
// (UA8 and UA9 become UA8..UA9). When that is still too many, the ranges that serve the
// fewest listed prefixes are dropped, never one that holds an entity's primary prefix
// nor an entity's last range.
#include "country/CountryFile.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "dxdata/CountryList.h"
#include "logstore/Text.h"

namespace vl::tools {

namespace {

struct Range {
    std::size_t depth;
    std::string low;
    std::string high;
    int entity;
};

std::string clean_prefix(std::string_view item) {
    std::size_t end = item.find_first_of("([<{~");
    return std::string(trim(item.substr(0, end)));
}

std::string list_name(std::string name) {
    // A name may not hold a comma in COUNTRY.LST: "Juan de Nova, Europa" reads as
    // "Juan de Nova and Europa".
    for (std::size_t at = name.find(", "); at != std::string::npos; at = name.find(", ")) {
        name.replace(at, 2, " and ");
    }
    std::replace(name.begin(), name.end(), ',', ' ');
    return name;
}

// Characters that never stand in a call between '9' and 'A' make those two neighbours.
bool neighbours(char a, char b) {
    return b == a + 1 || (a == '9' && b == 'A');
}

}  // namespace

std::vector<CountryFileEntity> read_country_file(std::string_view text) {
    std::vector<CountryFileEntity> entities;
    while (!text.empty()) {
        std::size_t end = text.find(';');
        std::string_view block = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::vector<std::string_view> fields;
        for (int i = 0; i < 8; ++i) {
            std::size_t colon = block.find(':');
            if (colon == std::string_view::npos) {
                break;
            }
            fields.push_back(block.substr(0, colon));
            block.remove_prefix(colon + 1);
        }
        if (fields.size() < 8) {
            continue;  // trailing blanks after the last entity
        }
        auto strip = [](std::string_view s) {
            while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
                s.remove_prefix(1);
            }
            while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
                s.remove_suffix(1);
            }
            return std::string(s);
        };
        CountryFileEntity entity;
        entity.name = strip(fields[0]);
        entity.latitude = static_cast<float>(leading_number(strip(fields[4])));
        entity.longitude = static_cast<float>(leading_number(strip(fields[5])));
        entity.primary_prefix = strip(fields[7]);
        if (entity.primary_prefix.empty() || entity.primary_prefix.front() == '*') {
            continue;  // contest-only areas are not DXCC entities
        }
        std::string list(block);
        for (char& c : list) {
            if (c == '\r' || c == '\n' || c == '\t') {
                c = ' ';
            }
        }
        for (std::size_t start = 0; start <= list.size();) {
            std::size_t comma = list.find(',', start);
            std::string item = clean_prefix(std::string_view(list).substr(start, comma - start));
            if (!item.empty() && item.front() != '=') {
                entity.prefixes.push_back(item);
            }
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
        entities.push_back(std::move(entity));
    }
    return entities;
}

CountryListBuild build_country_list(const std::vector<CountryFileEntity>& entities,
                                    std::string_view home, int record_limit) {
    CountryListBuild build;
    auto home_at = std::find_if(entities.begin(), entities.end(), [&](const CountryFileEntity& e) {
        return e.name == home || e.primary_prefix == home;
    });
    if (home_at == entities.end()) {
        build.error = "no entity named \"" + std::string(home) + "\" in the country file";
        return build;
    }
    if (static_cast<int>(entities.size()) > kMaxDxccNumber) {
        build.error = "more than 400 entities";
        return build;
    }
    // DXCC numbers: the home country 1, then the others in the order of the file.
    std::vector<int> number(entities.size());
    int next = 2;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        number[i] = entities.begin() + static_cast<std::ptrdiff_t>(i) == home_at ? 1 : next++;
    }

    std::map<std::string, int> entity_of;  // listed prefix -> entity index; the first wins
    for (std::size_t i = 0; i < entities.size(); ++i) {
        for (const std::string& prefix : entities[i].prefixes) {
            entity_of.emplace(prefix, static_cast<int>(i));
        }
    }
    auto longest = [&](std::string_view call) {
        for (std::size_t n = call.size(); n > 0; --n) {
            auto found = entity_of.find(std::string(call.substr(0, n)));
            if (found != entity_of.end()) {
                return found->second;
            }
        }
        return -1;
    };

    // Children that change the answer of their parent, grouped by parent, in byte order.
    std::map<std::string, std::vector<std::pair<char, int>>> children;
    for (const auto& [prefix, entity] : entity_of) {
        std::string parent = prefix.substr(0, prefix.size() - 1);
        if (longest(parent) != entity) {
            children[parent].emplace_back(prefix.back(), entity);
        }
    }
    std::vector<Range> ranges;
    for (auto& [parent, list] : children) {
        std::sort(list.begin(), list.end());
        for (std::size_t i = 0; i < list.size();) {
            std::size_t j = i;
            while (j + 1 < list.size() && list[j + 1].second == list[i].second &&
                   neighbours(list[j].first, list[j + 1].first)) {
                ++j;
            }
            ranges.push_back({parent.size() + 1, parent + list[i].first, parent + list[j].first,
                              list[i].second});
            i = j + 1;
        }
    }
    auto in_order = [](const Range& a, const Range& b) {
        return a.depth != b.depth ? a.depth > b.depth : a.low < b.low;
    };
    std::sort(ranges.begin(), ranges.end(), in_order);

    auto render = [&](const std::vector<Range>& list) {
        std::string text;
        for (const Range& r : list) {
            const CountryFileEntity& e = entities[r.entity];
            char position[64];
            // The country file counts longitude west positive; the list east positive.
            std::snprintf(position, sizeof position, "%.2f,%.2f", static_cast<double>(e.latitude),
                          static_cast<double>(-e.longitude));
            text += r.low + "," + r.high + "," + list_name(e.name) + "," +
                    std::to_string(number[r.entity]) + "," + position + "\r\n";
        }
        return text;
    };
    // Which range each listed prefix falls in under the first-match rule. The full set can
    // be longer than the program's list may be, so this scans it here.
    auto serving = [&](const std::vector<Range>& list) {
        std::map<std::string, int> served_by;  // listed prefix -> range index
        for (const auto& [prefix, entity] : entity_of) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (prefix >= list[i].low && prefix <= list[i].high + "[") {
                    served_by[prefix] = static_cast<int>(i);
                    break;
                }
            }
        }
        return served_by;
    };

    if (static_cast<int>(ranges.size()) > record_limit) {
        std::map<std::string, int> served_by = serving(ranges);
        std::vector<int> weight(ranges.size(), 0);
        std::vector<bool> primary(ranges.size(), false);
        for (const auto& [prefix, index] : served_by) {
            ++weight[index];
        }
        for (const CountryFileEntity& e : entities) {
            auto found = served_by.find(e.primary_prefix);
            if (found != served_by.end()) {
                primary[found->second] = true;
            }
        }
        std::vector<std::size_t> order(ranges.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (primary[a] != primary[b]) {
                return !primary[a];
            }
            if (weight[a] != weight[b]) {
                return weight[a] < weight[b];
            }
            return in_order(ranges[a], ranges[b]);
        });
        // Every country keeps at least one range, so it can always be found.
        std::map<int, int> ranges_left;
        for (const Range& r : ranges) {
            ++ranges_left[r.entity];
        }
        std::vector<bool> drop(ranges.size(), false);
        std::size_t to_drop = ranges.size() - static_cast<std::size_t>(record_limit);
        for (std::size_t k = 0; k < order.size() && to_drop > 0; ++k) {
            const Range& r = ranges[order[k]];
            if (!primary[order[k]] && ranges_left[r.entity] > 1) {
                drop[order[k]] = true;
                --ranges_left[r.entity];
                --to_drop;
            }
        }
        if (to_drop > 0) {
            build.error =
                "every country needs one range, and there are more countries than records";
            return build;
        }
        std::vector<Range> kept;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            if (drop[i]) {
                for (const auto& [prefix, index] : served_by) {
                    if (index == static_cast<int>(i)) {
                        build.dropped.push_back(prefix);
                    }
                }
            } else {
                kept.push_back(ranges[i]);
            }
        }
        ranges = std::move(kept);
    }

    build.text = render(ranges);
    build.records = static_cast<int>(ranges.size());
    build.entities = static_cast<int>(entities.size());
    // Every listed prefix that was kept must give its own entity through the real lookup.
    CountryList check;
    check.load(build.text);
    for (const auto& [prefix, entity] : entity_of) {
        if (check.find(prefix) != number[entity] &&
            std::find(build.dropped.begin(), build.dropped.end(), prefix) == build.dropped.end()) {
            build.wrong.push_back(prefix);
        }
    }
    return build;
}

}  // namespace vl::tools
