// The focus log.
#include "platform/FocusLog.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vl::platform {

void log_focus(std::string_view caption, int control) {
    const char* path = std::getenv("VARROW_FOCUS_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    if (std::FILE* file = std::fopen(path, "ab")) {
        std::string line = "\"" + std::string(caption) + "\" " + std::to_string(control) + "\n";
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

}  // namespace vl::platform
