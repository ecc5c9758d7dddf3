// Test helpers.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "logstore/Bands.h"
#include "platform/headless/HeadlessPrinter.h"
#include "platform/headless/HeadlessUi.h"
#include "program/Program.h"

namespace vl::test {

TempDir::TempDir() {
    std::random_device seed;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        m_path =
            base / ("varrowlog-test-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
        if (std::filesystem::create_directory(m_path)) {
            break;
        }
    }
}

std::string make_backup_drive(const TempDir& dir, char letter) {
    std::filesystem::path folder = dir.file(std::string("DRIVES/") + letter);
    std::filesystem::create_directories(folder);
#ifdef _WIN32
    return folder.make_preferred().string();
#else
    return std::string(1, letter);
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TempDir::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempDir::read(std::string_view name) const {
    return read_file(file(name));
}

bool TempDir::exists(std::string_view name) const {
    return std::filesystem::exists(file(name));
}

HeadlessRun run_program_headless(const std::string& program_dir, std::string_view script,
                                 TestPrinter printer_state, platform::FileSystem* files,
                                 platform::SerialPorts* serial, platform::Datagrams* datagrams) {
    using namespace vl::headless;
    Journal journal;
    HeadlessClock clock;
    HeadlessSound sound(journal);
    HeadlessUi ui(parse_script(script), journal, clock);
    RecordingPrinter printer(&journal);
    printer.set_available(printer_state != TestPrinter::Missing);
    printer.set_refuse_jobs(printer_state == TestPrinter::Refusing);
    platform::Platform services{ui,
                                sound,
                                clock,
                                files ? *files : platform::system_files(),
                                &printer,
                                serial,
                                &platform::system_shared_libraries(),
                                platform::system_http(),
                                &platform::system_tcp_clients(),
                                datagrams,
                                platform::system_programs()};
    HeadlessRun run;
    ui.record_layouts(&run.layouts);
    try {
        run.exit_code = run_program(services, program_dir);
    } catch (const ScriptEnded&) {
        run.script_ended = true;
    }
    run.journal = journal.lines();
    return run;
}

LogRecord qso(int16_t date, int16_t time, std::string_view call, int band) {
    QsoEntry entry;
    entry.date = date;
    entry.time_on = time;
    entry.time_off = time;
    entry.call = call;
    entry.rst_sent = "59";
    entry.rst_received = "57";
    entry.band_field = band_field_of(band);
    entry.mode = "SSB";
    entry.power = "100";
    entry.comment = "test";
    return encode(entry);
}

std::array<std::string, 15> frequency_names() {
    std::array<std::string, 15> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = kFrequencyNames[i];
    }
    return names;
}

std::string log_bytes(const std::vector<LogRecord>& records) {
    std::string bytes;
    for (const LogRecord& record : records) {
        bytes.append(record.bytes.data(), record.bytes.size());
    }
    return bytes;
}

std::vector<LogRecord> records_of(const LogStore& log) {
    std::vector<LogRecord> records;
    for (int i = 1; i <= log.count(); ++i) {
        records.push_back(log.entry(i));
    }
    return records;
}

std::vector<LogRecord> records_on_disk(const std::string& path) {
    LogStore log(platform::system_files());
    EXPECT_EQ(log.open(path).outcome, OpenReport::Outcome::Opened) << path;
    return records_of(log);
}

}  // namespace vl::test
