// Every key script the Orca check plays, and every scenario of tests/scenarios, played on the
// headless backend: the whole journal must be the one kept beside the script (NAME.journal).
// A journal holds every word, focus move, beep and sound, so any change of behaviour on those
// paths shows here.
// - The Orca check's scripts start from the folder it prepares (the shipped country list,
//   ISLANDS.TXT and fixture.script's log). A scenario starts from an empty folder, with the
//   files of the folder named after it up to the first dot when there is one
//   ("print_log.refused" starts from print_log/).
// - Files the run must leave exactly so are kept in the folder NAME.after; an empty
//   NAME.after/FILE.gone stands for a FILE the run must remove or not make.
// - A first line "# Printer missing" or "# Printer refusing" plays it with such a printer;
//   "# Unreadable FILE" with FILE there but every read of it failing.
// - Each window any script opens is kept, laid out as first shown, in screens.layout.
// - A scenario named cb_... starts with the three test call-book libraries beside it.
// - Scripts that need the simulated radio or the call book's server have tests of their own.
// With VARROW_BLESS set, each journal and kept file is written instead of compared: read the
// difference before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/SharedLibrary.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

namespace fs = std::filesystem;
using test::read_file;

bool played_here(const fs::path& script) {
    if (script.stem() == "fixture" || fs::exists(fs::path(script).replace_extension(".exit"))) {
        return false;  // the fixture itself, and the runner's own exit-code cases
    }
    std::string first = read_file(script).substr(0, 40);
    return first.rfind("# Devices", 0) != 0 && first.rfind("# Call book server", 0) != 0 &&
           first.rfind("# Hamlib", 0) != 0 && first.rfind("# WSJT-X", 0) != 0;
}

std::vector<fs::path> scripts() {
    std::vector<fs::path> found;
    for (const char* folder : {"orca", "scenarios"}) {
        for (const auto& item : fs::directory_iterator(fs::path(VARROW_TESTS_DIR) / folder)) {
            if (item.path().extension() == ".script" && played_here(item.path())) {
                found.push_back(item.path());
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

void copy_into(const fs::path& from, const test::TempDir& dir) {
    for (const auto& item : fs::directory_iterator(from)) {
        fs::copy(item.path(), fs::path(dir.path()) / item.path().filename(),
                 fs::copy_options::recursive);
    }
}

// The test call-book libraries beside the program, under the names it loads.
void put_call_books(const test::TempDir& dir, std::initializer_list<const char*> stems) {
    for (const char* stem : stems) {
        const std::string name = platform::system_shared_libraries().file_name(stem);
        fs::copy(fs::path(VARROW_TEST_CALL_BOOKS) / name, dir.file(name));
    }
}

void prepare(const fs::path& script, const test::TempDir& dir) {
    if (script.parent_path().filename() == "orca") {
        fs::copy(fs::path(VARROW_DATA_DIR) / "COUNTRY.LST", dir.file("COUNTRY.LST"));
        fs::copy(script.parent_path() / "ISLANDS.TXT", dir.file("ISLANDS.TXT"));
        put_call_books(dir, {"HAMCAL32"});
        test::HeadlessRun fixture = test::run_program_headless(
            dir.path(), read_file(script.parent_path() / "fixture.script"));
        ASSERT_EQ(fixture.exit_code, 0);
    } else if (fs::path own = script.parent_path() /
                              script.stem().string().substr(0, script.stem().string().find('.'));
               fs::is_directory(own)) {
        copy_into(own, dir);
    }
    if (script.stem().string().rfind("cb_", 0) == 0) {
        put_call_books(dir, {"HAMCAL32", "RACCD32A", "QRZ32"});
    }
}

TEST(Scenarios, EachJournalIsTheOneKeptBesideItsScript) {
    std::vector<fs::path> all = scripts();
    ASSERT_GE(all.size(), 13u);
    std::set<std::string> layouts;
    for (const fs::path& script : all) {
        SCOPED_TRACE(script.string());
        test::TempDir dir;
        prepare(script, dir);
        const std::string text = read_file(script);
        test::TestPrinter printer =
            text.rfind("# Printer missing", 0) == 0    ? test::TestPrinter::Missing
            : text.rfind("# Printer refusing", 0) == 0 ? test::TestPrinter::Refusing
                                                       : test::TestPrinter::Ready;
        test::FaultyFiles files;
        const bool unreadable = text.rfind("# Unreadable ", 0) == 0;
        if (unreadable) {
            files.make_unreadable(dir.file(text.substr(13, text.find('\n') - 13)));
        }
        test::HeadlessRun run;
        try {
            run = test::run_program_headless(dir.path(), text, printer,
                                             unreadable ? &files : nullptr);
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        layouts.insert(run.layouts.begin(), run.layouts.end());
        std::string journal;
        for (const std::string& line : run.journal) {
            journal += line + "\n";
        }
        if (run.script_ended) {
            journal += "end of script\n";
        } else {
            EXPECT_EQ(run.exit_code, 0);
        }
        const fs::path expected = fs::path(script).replace_extension(".journal");
        if (std::getenv("VARROW_BLESS") != nullptr) {
            std::ofstream(expected, std::ios::binary) << journal;
        }
        EXPECT_EQ(journal, read_file(expected));
        // Files the run must leave as they are kept in NAME.after/; NAME.after/FILE.gone
        // says the run must leave no FILE.
        fs::path after = fs::path(script).replace_extension(".after");
        if (fs::is_directory(after)) {
            for (const auto& item : fs::directory_iterator(after)) {
                if (item.path().extension() == ".gone") {
                    EXPECT_FALSE(fs::exists(dir.file(item.path().stem().string())))
                        << item.path().stem();
                    continue;
                }
                const std::string name = item.path().filename().string();
                EXPECT_TRUE(fs::exists(dir.file(name))) << name;  // an empty file is one too
                const std::string written = read_file(dir.file(name));
                if (std::getenv("VARROW_BLESS") != nullptr) {
                    std::ofstream(item.path(), std::ios::binary) << written;
                }
                EXPECT_EQ(written, read_file(item.path())) << name;
            }
        }
    }
    // Every window the scripts open, laid out as the screen walks and screenshots saw it.
    std::string screens;
    for (const std::string& layout : layouts) {
        screens += layout + "\n";
    }
    const fs::path kept = fs::path(VARROW_TESTS_DIR) / "scenarios" / "screens.layout";
    if (std::getenv("VARROW_BLESS") != nullptr) {
        std::ofstream(kept, std::ios::binary) << screens;
    }
    EXPECT_EQ(screens, read_file(kept));
}

}  // namespace
}  // namespace vl
