// Fuzz target: any bytes as COUNTRY.LST, COUNTRY.EXC and a list of call signs. Loading must
// not crash, and the fast lookup must give exactly the plain scan's answer and current record
// for every call, portable forms and exceptions included.
#include "Fuzz.h"
#include "dxdata/CountryList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [list, after] = vl::fuzz::split({reinterpret_cast<const char*>(data), size});
    auto [exceptions, calls] = vl::fuzz::split(after);
    vl::CountryList fast;
    vl::CountryList plain;
    fast.load(list);
    plain.load(list);
    fast.load_exceptions(exceptions);
    plain.load_exceptions(exceptions);
    while (true) {
        size_t end = calls.find('\n');
        std::string_view call = calls.substr(0, end);
        vl::fuzz::require(fast.find(call) == plain.find_by_scan(call) &&
                          fast.current() == plain.current());
        if (end == std::string_view::npos) {
            break;
        }
        calls.remove_prefix(end + 1);
    }
    return 0;
}
