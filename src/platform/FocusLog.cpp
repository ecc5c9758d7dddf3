// The focus log.
#include "platform/FocusLog.h"

#include <cstdlib>
#include <string>

#include "platform/Files.h"

namespace vl::platform {

void log_focus(FileSystem& files, std::string_view caption, int control) {
    const char* path = std::getenv("VARROW_FOCUS_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    if (auto file = files.open(path, OpenMode::ReadWrite)) {
        std::string line = "\"" + std::string(caption) + "\" " + std::to_string(control) + "\n";
        if (auto end = file->size()) {
            file->write_at(*end, line.data(), line.size());
        }
    }
}

}  // namespace vl::platform
