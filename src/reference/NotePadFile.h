// NOTEPAD.TXT: the operator's notes, each under a heading with the local date and time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/Files.h"

namespace vl {

// What the note pad keeps between openings for the whole run.
struct NotePadState {
    std::string notes;
    // Set by Clear and by Load: the next save replaces the file with what the box holds.
    bool rewrite = false;
};

// "dd-mm-yy   hh:mm" and CR LF, both from the local clock, so the date and the time of a
// heading always belong to the same moment.
std::string note_heading(const platform::DateTime& local);

class NotePadFile {
public:
    NotePadFile(platform::FileSystem& files, std::string path)
        : m_files(files), m_path(std::move(path)) {}

    // The whole file; nothing when it is missing or cannot be read.
    std::optional<std::string> load();
    // Adds the heading and the note after what the file holds, or, when `rewrite` is set,
    // makes them the whole file. The new file is written under a temporary name and renamed
    // over the old one, so a failure leaves the old notes as they were. False on failure.
    bool save(std::string_view notes, const platform::DateTime& local, bool rewrite);

private:
    platform::FileSystem& m_files;
    std::string m_path;
};

}  // namespace vl
