// Fuzz target: any bytes as COUNTRY.LST, COUNTRY.EXC and a list of call signs. Loading must
// not crash, and the fast lookup must give exactly the plain scan's answer and current record
// for every call, portable forms and exceptions included.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dxdata/CountryList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte says how much of the input is the list.
    size_t list_size = input.empty() ? 0 : (static_cast<uint8_t>(input[0]) * size) / 256;
    std::string_view rest = input.empty() ? input : input.substr(1);
    list_size = std::min(list_size, rest.size());
    vl::CountryList fast;
    vl::CountryList plain;
    fast.load(rest.substr(0, list_size));
    plain.load(rest.substr(0, list_size));
    // The second byte after the list says how much of what follows is COUNTRY.EXC.
    std::string_view after = rest.substr(list_size);
    size_t exceptions_size =
        after.empty() ? 0 : (static_cast<uint8_t>(after[0]) * after.size()) / 256;
    after = after.empty() ? after : after.substr(1);
    exceptions_size = std::min(exceptions_size, after.size());
    fast.load_exceptions(after.substr(0, exceptions_size));
    plain.load_exceptions(after.substr(0, exceptions_size));
    std::string_view calls = after.substr(exceptions_size);
    while (true) {
        size_t end = calls.find('\n');
        std::string_view call = calls.substr(0, end);
        if (fast.find(call) != plain.find_by_scan(call) || fast.current() != plain.current()) {
            std::abort();
        }
        if (end == std::string_view::npos) {
            break;
        }
        calls.remove_prefix(end + 1);
    }
    return 0;
}
