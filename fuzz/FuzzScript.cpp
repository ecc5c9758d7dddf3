// Fuzz target: any bytes as a key script, run against the real program on the headless
// backend. Malformed scripts are refused with a message naming the line; none may crash.
#include "Fuzz.h"
#include "platform/headless/HeadlessUi.h"
#include "program/Program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = vl::fuzz::own_folder("varrowlog-fuzz-script-").string() + "/";
    using namespace vl::headless;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        Journal journal;
        HeadlessClock clock;
        HeadlessSound sound(journal);
        HeadlessUi ui(parse_script(text), journal, clock);
        vl::platform::Platform services{ui, sound, clock, vl::platform::system_files()};
        vl::run_program(services, dir);
    } catch (const ScriptEnded&) {
    } catch (const ScriptError&) {
    }
    return 0;
}
