// NOTEPAD.TXT, read whole and replaced whole.
#include "reference/NotePadFile.h"

#include "logstore/Text.h"

namespace vl {

namespace {

// Far beyond any journal typed by hand; a larger file is left alone rather than read.
constexpr uint64_t kSizeLimit = 64ull << 20;

}  // namespace

std::string note_heading(const platform::DateTime& local) {
    return two_digits(local.day) + "-" + two_digits(local.month) + "-" +
           two_digits(local.year % 100) + "   " + two_digits(local.hour) + ":" +
           two_digits(local.minute) + "\r\n";
}

std::optional<std::string> NotePadFile::load() {
    if (!m_files.exists(m_path)) {
        return std::nullopt;
    }
    return platform::read_whole_file(m_files, m_path, kSizeLimit);
}

bool NotePadFile::save(std::string_view notes, const platform::DateTime& local, bool rewrite) {
    std::string data;
    if (!rewrite && m_files.exists(m_path)) {
        auto old = platform::read_whole_file(m_files, m_path, kSizeLimit);
        if (!old) {
            return false;  // the old notes could not be read: they are not replaced
        }
        data = std::move(*old);
        // A note's last line ends before the next heading, or the two would read as one.
        if (!data.empty() && !data.ends_with('\n')) {
            data += "\r\n";
        }
    }
    data += note_heading(local);
    data += notes;
    return platform::replace_file(m_files, m_path, data);
}

}  // namespace vl
