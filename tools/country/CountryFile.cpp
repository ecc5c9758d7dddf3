// The country-list generator.
//
// A prefix P of entity E becomes the range P..P, which holds every call starting with P.
// Deeper prefixes stand before the shorter ones that contain them, so the first match is
// the longest listed prefix, as the country file means it. An entity the file lists only by
// exact calls (Conway Reef, Bouvet) gets forms made from those calls. To fit the record
// limit, a prefix whose entity is already that of its longest shorter prefix is left out (it
// changes nothing), and neighbouring prefixes of one entity under the same parent become one
// range (UA8 and UA9 become UA8..UA9). When that is still too many, the ranges worth least
// are dropped: worth is the real calls (the file's exact calls) a range gives their entity,
// plus two for each prefix of the file it serves. Never dropped: a range holding a primary
// prefix, an entity's best form or the range most of its real calls reach, an entity's last
// range.
#include "country/CountryFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "dxdata/CountryList.h"
#include "dxdata/PortableCall.h"
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

// Characters that never stand in a call between '9' and 'A' make those two neighbours.
bool neighbours(char a, char b) {
    return b == a + 1 || (a == '9' && b == 'A');
}

// The order of the list: deeper ranges first, so the first match is the longest prefix.
bool in_order(const Range& a, const Range& b) {
    return a.depth != b.depth ? a.depth > b.depth : a.low < b.low;
}

// Which ranges to leave out so that `limit` stay, or nothing when that cannot be done. Every
// country keeps at least one range, so it can always be found, and no range marked `kept` goes.
// Of the ranges worth least, the one whose country has the most ranges left goes first, so a
// family of alike blocks (PP0F to ZZ0F) is thinned before a country loses its only forms.
std::optional<std::vector<bool>> ranges_to_drop(const std::vector<Range>& ranges,
                                                const std::vector<int>& weight,
                                                const std::vector<bool>& kept, std::size_t limit) {
    std::map<int, int> ranges_left;
    for (const Range& r : ranges) {
        ++ranges_left[r.entity];
    }
    std::vector<bool> drop(ranges.size(), false);
    for (std::size_t to_drop = ranges.size() - std::min(limit, ranges.size()); to_drop > 0;
         --to_drop) {
        std::optional<std::size_t> worst;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            if (drop[i] || kept[i] || ranges_left[ranges[i].entity] < 2) {
                continue;
            }
            if (!worst) {
                worst = i;
                continue;
            }
            std::size_t w = *worst;
            int left_i = ranges_left[ranges[i].entity];
            int left_w = ranges_left[ranges[w].entity];
            if (weight[i] != weight[w] ? weight[i] < weight[w]
                : left_i != left_w     ? left_i > left_w
                                       : in_order(ranges[i], ranges[w])) {
                worst = i;
            }
        }
        if (!worst) {
            return std::nullopt;
        }
        drop[*worst] = true;
        --ranges_left[ranges[*worst].entity];
    }
    return drop;
}

// Letters and digits only: a form a call can begin with ("VK0H", not "3D2/c").
bool call_form(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

struct RealCall {
    std::string call;
    std::string key;  // what Find country looks up for it; "" when it is in no country
    int entity;
};

// The exact calls of the country file, each with its entity; a call listed twice keeps the
// first.
std::vector<RealCall> real_calls(const std::vector<CountryFileEntity>& entities) {
    std::vector<RealCall> calls;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        for (const std::string& call : entities[i].exact_calls) {
            if (seen.insert(call).second) {
                CallParts parts = call_parts(call);
                calls.push_back({call,
                                 parts.in_no_country ? std::string() : std::string(parts.prefix),
                                 static_cast<int>(i)});
            }
        }
    }
    return calls;
}

// The length of the longest listed prefix `call` begins with; 0 when none.
std::size_t listed_length(const std::map<std::string, int>& entity_of, std::string_view call) {
    for (std::size_t n = call.size(); n > 0; --n) {
        if (entity_of.count(std::string(call.substr(0, n))) > 0) {
            return n;
        }
    }
    return 0;
}

// Where the suffix of a call begins: after the digit that ends its prefix (E51LYC: 3).
std::size_t suffix_start(std::string_view call) {
    for (std::size_t i = 2; i < call.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(call[i - 1])) &&
            std::isalpha(static_cast<unsigned char>(call[i]))) {
            return i;
        }
    }
    return call.size();
}

// Forms for an entity the country file lists by exact calls only (Conway Reef, Bouvet, the
// 4U1 offices). Each of its calls gets the shortest form deeper than the listed prefix that
// holds it, reaching into the call's suffix, and holding no call of another entity; calls sharing
// that form are served by their common beginning ("3D2C" for 3D2CR, 3D2CY, 3D2CCC), and a lone call
// by itself
// ("SV2ASP"). A call that only a listed prefix of another entity can hold ("FO/DL1AWI" reads
// as FO) is left to it.
std::vector<std::string> forms_of_exact_calls(const std::vector<CountryFileEntity>& entities,
                                              int entity, const std::vector<RealCall>& real,
                                              const std::map<std::string, int>& entity_of) {
    if (!entities[entity].prefixes.empty()) {
        return {};
    }
    std::map<std::string, std::vector<std::string>> calls_of_form;
    for (const RealCall& own : real) {
        if (own.entity != entity || !call_form(own.key)) {
            continue;
        }
        std::size_t listed = listed_length(entity_of, own.key);
        if (listed > 0 && entity_of.at(own.key.substr(0, listed)) == entity) {
            continue;  // its primary prefix already holds it
        }
        // Within a neighbour's prefix, a form reaches into the suffix: E51 would take every
        // E51 call of South Cook for North Cook, E51M takes a slice.
        std::size_t shortest = listed > 0 ? std::max(listed, suffix_start(own.key)) + 1 : 1;
        for (std::size_t n = shortest; n <= own.key.size(); ++n) {
            std::string form = own.key.substr(0, n);
            bool shared = std::any_of(real.begin(), real.end(), [&](const RealCall& other) {
                return other.entity != entity && other.key.starts_with(form);
            });
            if (!shared) {
                calls_of_form[form].push_back(own.key);
                break;
            }
        }
    }
    std::vector<std::pair<std::size_t, std::string>> forms;  // calls served, form
    for (const auto& [form, keys] : calls_of_form) {
        std::string common = keys.front();
        for (const std::string& key : keys) {
            std::size_t n = 0;
            while (n < common.size() && n < key.size() && common[n] == key[n]) {
                ++n;
            }
            common.resize(n);
        }
        forms.emplace_back(keys.size(), common);
    }
    std::stable_sort(forms.begin(), forms.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> ordered;
    for (auto& [served, form] : forms) {
        ordered.push_back(std::move(form));
    }
    return ordered;
}

}  // namespace

std::string list_name(std::string name) {
    // A name may not hold a comma in COUNTRY.LST: "Juan de Nova, Europa" reads as
    // "Juan de Nova and Europa".
    for (std::size_t at = name.find(", "); at != std::string::npos; at = name.find(", ")) {
        name.replace(at, 2, " and ");
    }
    std::replace(name.begin(), name.end(), ',', ' ');
    return name;
}

// FNV-1a over the bytes: enough to tell one release of the country file from another.
std::string country_file_note(std::string_view country_file) {
    std::uint32_t hash = 2166136261u;
    for (char c : country_file) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char text[48];
    std::snprintf(text, sizeof text, "made from cty.dat %08x", static_cast<unsigned>(hash));
    return text;
}

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
            if (item.size() > 1 && item.front() == '=') {
                entity.exact_calls.push_back(item.substr(1));
            } else if (!item.empty() && item.front() != '=') {
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
                                    std::string_view home, int record_limit,
                                    const std::vector<int>* fixed_numbers) {
    CountryListBuild build;
    auto home_at = std::find_if(entities.begin(), entities.end(), [&](const CountryFileEntity& e) {
        return e.name == home || e.primary_prefix == home;
    });
    if (home_at == entities.end() && fixed_numbers == nullptr) {
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
    if (fixed_numbers != nullptr) {
        number = *fixed_numbers;
        if (number.size() != entities.size()) {
            build.error = "a number is needed for each entity";
            return build;
        }
    }

    std::map<std::string, int> entity_of;  // listed prefix -> entity index; the first wins
    for (std::size_t i = 0; i < entities.size(); ++i) {
        for (const std::string& prefix : entities[i].prefixes) {
            entity_of.emplace(prefix, static_cast<int>(i));
        }
    }
    auto longest = [&](std::string_view call) {
        std::size_t n = listed_length(entity_of, call);
        return n == 0 ? -1 : entity_of.at(std::string(call.substr(0, n)));
    };

    std::vector<RealCall> real = real_calls(entities);
    // Forms that must keep a range of their own: primary prefixes, and the call forms of
    // entities the country file knows only by exact calls.
    std::set<std::string> kept_forms;
    std::set<std::string> derived_forms;  // forms the country file does not list as prefixes
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const std::string& primary = entities[i].primary_prefix;
        if (call_form(primary) && entity_of.emplace(primary, static_cast<int>(i)).second) {
            kept_forms.insert(primary);  // VK0H, 4U1I, BS7: listed only as exact calls
            derived_forms.insert(primary);
        }
    }
    for (std::size_t i = 0; i < entities.size(); ++i) {
        auto forms = forms_of_exact_calls(entities, static_cast<int>(i), real, entity_of);
        for (const std::string& form : forms) {
            entity_of.emplace(form, static_cast<int>(i));
            derived_forms.insert(form);
        }
        if (!forms.empty()) {
            kept_forms.insert(forms.front());  // the form most of its calls use
        }
    }
    for (std::size_t i = 0; i < entities.size(); ++i) {
        auto found = entity_of.find(entities[i].primary_prefix);
        if (found != entity_of.end() && found->second == static_cast<int>(i)) {
            kept_forms.insert(found->first);
        }
    }

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
        // A range is worth the real calls it gives their entity, and twice the prefixes of the
        // country file it serves: a listed prefix stands for a block of stations.
        std::vector<int> weight(ranges.size(), 0);
        std::vector<bool> primary(ranges.size(), false);
        for (const auto& [prefix, index] : served_by) {
            weight[index] += derived_forms.count(prefix) > 0 ? 0 : 2;
            if (kept_forms.count(prefix) > 0) {
                primary[index] = true;
            }
        }
        for (const RealCall& r : real) {
            for (std::size_t i = 0; i < ranges.size() && !r.key.empty(); ++i) {
                if (r.key >= ranges[i].low && r.key <= ranges[i].high + "[") {
                    weight[i] += ranges[i].entity == r.entity ? 1 : 0;
                    break;
                }
            }
        }
        // Each entity keeps the range most of its real calls reach (FT5W for Crozet), since
        // its primary prefix ("FT/w") may be no call form.
        std::map<int, std::size_t> best_of;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            auto found = best_of.find(ranges[i].entity);
            if (found == best_of.end() || weight[i] > weight[found->second]) {
                best_of[ranges[i].entity] = i;
            }
        }
        for (const auto& [entity, index] : best_of) {
            primary[index] = primary[index] || weight[index] > 0;
        }
        auto drop = ranges_to_drop(ranges, weight, primary, static_cast<std::size_t>(record_limit));
        if (!drop) {
            build.error =
                "every country needs one range, and there are more countries than records";
            return build;
        }
        std::vector<Range> kept;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            if ((*drop)[i]) {
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
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (!check.carries(number[i])) {
            build.missing.push_back(entities[i].name);
        }
    }
    // COUNTRY.EXC: every prefix of the country file with its entity, so that Find country
    // takes the longest one as the file means it and knows which letters after a call name a
    // country; then the exact calls those prefixes and the ranges still get wrong.
    std::vector<std::vector<std::string>> items(entities.size());
    for (const auto& [prefix, entity] : entity_of) {
        if (call_form(prefix)) {
            items[entity].push_back(prefix);
        }
    }
    auto render_exceptions = [&] {
        std::string text;
        for (std::size_t i = 0; i < entities.size(); ++i) {
            const std::string head =
                std::to_string(number[i]) + "," + list_name(entities[i].name) + ",";
            std::string line;
            for (const std::string& item : items[i]) {
                if (!line.empty() && line.size() + item.size() > 100) {
                    text += head + line + "\r\n";
                    line.clear();
                }
                line += (line.empty() ? "" : " ") + item;
            }
            if (!line.empty()) {
                text += head + line + "\r\n";
            }
        }
        return text;
    };
    for (const RealCall& r : real) {
        build.real_calls_found_by_ranges += check.find(r.call) == number[r.entity] ? 1 : 0;
    }
    // An exact call kept can move a portable form of it that the prefixes placed (GO4ONL
    // listed for one country, GO4ONL/P for another), so this goes round until nothing changes.
    std::set<std::string> kept_calls;
    for (bool changed = true; changed;) {
        changed = false;
        check.load_exceptions(render_exceptions());
        for (const RealCall& r : real) {
            if (check.find(r.call) != number[r.entity] && kept_calls.insert(r.call).second) {
                items[r.entity].push_back("=" + r.call);
                ++build.exact_calls_kept;
                changed = true;
            }
        }
    }
    build.exceptions = render_exceptions();
    check.load(build.text);
    check.load_exceptions(build.exceptions);
    std::set<std::string> exact_texts;
    for (const RealCall& r : real) {
        exact_texts.insert(r.call);
    }
    for (const auto& [prefix, entity] : entity_of) {
        // A station may hold a prefix as its whole call (EF6 is in Spain, prefix EF6 in the
        // Balearic Islands); the exact call rightly wins for it.
        if (check.find(prefix) != number[entity] && exact_texts.count(prefix) == 0) {
            build.wrong.push_back(prefix + " (with the exceptions)");
        }
    }
    build.real_calls = static_cast<int>(real.size());
    for (const RealCall& r : real) {
        const bool found = check.find(r.call) == number[r.entity];
        build.real_calls_found += found ? 1 : 0;
        if (!found) {
            build.real_calls_missed.push_back(r.call);
        }
    }
    return build;
}

}  // namespace vl::tools
