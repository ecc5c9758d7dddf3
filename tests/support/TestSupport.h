// Test helpers: a temporary program directory and a headless run of the real program.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "logstore/LogStore.h"
#include "platform/Datagrams.h"
#include "platform/Files.h"
#include "platform/Serial.h"

namespace vl::test {

// The whole of a file, or "" when there is none.
std::string read_file(const std::filesystem::path& path);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with its trailing separator, as the program directory is held.
    std::string path() const { return m_path.string() + "/"; }
    std::string file(std::string_view name) const { return path() + std::string(name); }
    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    std::filesystem::path m_path;
};

// Makes the empty folder DRIVES/<letter> inside `dir` and gives the backup drive setting
// that names it: the letter itself where letters name such folders, its full path on
// Windows, where a letter is a real drive.
std::string make_backup_drive(const TempDir& dir, char letter);

struct HeadlessRun {
    std::vector<std::string> journal;
    int exit_code = 0;
    bool script_ended = false;         // the script ran out with windows open
    std::vector<std::string> layouts;  // each window as first shown
};

// The recording printer of a headless run: ready, absent, or refusing every job.
enum class TestPrinter { Ready, Missing, Refusing };

// Runs the program from start-up to exit on the headless backend, on the real files or on
// `files`.
HeadlessRun run_program_headless(const std::string& program_dir, std::string_view script,
                                 TestPrinter printer_state = TestPrinter::Ready,
                                 platform::FileSystem* files = nullptr,
                                 platform::SerialPorts* serial = nullptr,
                                 platform::Datagrams* datagrams = nullptr);

// A QSO entry with the given date code, time and call, for building logs.
LogRecord qso(int16_t date, int16_t time, std::string_view call, int band = 4);
std::string log_bytes(const std::vector<LogRecord>& records);
// Every entry of an open log, in order.
std::vector<LogRecord> records_of(const LogStore& log);
// Every entry of the log at `path` as a fresh start finds it, which must open it.
std::vector<LogRecord> records_on_disk(const std::string& path);

// The frequency names as start-up fills the working table.
std::array<std::string, 15> frequency_names();

}  // namespace vl::test
