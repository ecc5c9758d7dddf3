// msaa_probe: starts varrowlog.exe and plays a walk file to it (ScreenWalk.h): keys pressed
// as an operator presses them, the windows read through MSAA (oleacc) as NVDA and JAWS read
// them, measured, and saved as BMP files.
//   msaa_probe PROGRAM_EXE SHOT_FOLDER WALK_FILE    exit 0 when every check holds
//   msaa_probe --time PROGRAM_EXE                    prints the time to the main menu
//   msaa_probe --main-menu PROGRAM_EXE               the program as shipped: its main menu
//                                                    read, its icon, version and manifest
#include "win32/Msaa.h"
#include "win32/ScreenWalk.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vl::test;

int time_to_main_menu(const std::string& exe) {
    Program program;
    auto start = std::chrono::steady_clock::now();
    if (!program.start(exe) ||
        !wait_for([&] { return program.window("Varrow Log version") != nullptr; }, 120000)) {
        std::printf("the main menu did not open\n");
        return 1;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("main menu after %lld ms\n", static_cast<long long>(elapsed.count()));
    press("Escape");
    program.ended(10000);
    return 0;
}

// The program as the operator unpacks it: its resources, then its main menu read through
// MSAA, and Escape ends it.
int check_shipped_program(const std::string& exe) {
    int failed = 0;
    auto check = [&](bool ok, const char* what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
        failed += ok ? 0 : 1;
    };
    HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(image != nullptr, "the program's resources can be read");
    if (image != nullptr) {
        HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        std::string text;
        if (manifest != nullptr) {
            const char* bytes =
                static_cast<const char*>(LockResource(LoadResource(image, manifest)));
            text.assign(bytes, SizeofResource(image, manifest));
        }
        check(text.find("Microsoft.Windows.Common-Controls") != std::string::npos &&
                  text.find("version=\"6.0.0.0\"") != std::string::npos,
              "the manifest asks for the common controls 6");
        check(FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)) != nullptr,
              "the program has an icon");
        FreeLibrary(image);
    }
    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    char* product = nullptr;
    UINT length = 0;
    check(!version.empty() &&
              GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(version.size()),
                                  version.data()) &&
              VerQueryValueA(version.data(), "\\StringFileInfo\\040904E4\\ProductName",
                             reinterpret_cast<void**>(&product), &length) &&
              std::string(product) == "Varrow Log",
          "the version information names the program");
    Program program;
    std::istringstream walk(
        "window Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\n"
        "focus list \"\" \"Instructions.\"\n"
        "key Escape\n"
        "ended\n");
    return program.start(exe) && play_walk(program, walk, ".") == 0 && failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own pixels, not a scaled copy, at any dots per inch.
    SetProcessDPIAware();
    CoInitialize(nullptr);
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 3 && first == "--time") {
        return time_to_main_menu(argv[2]);
    }
    if (argc == 3 && first == "--main-menu") {
        return check_shipped_program(argv[2]);
    }
    std::ifstream walk(argc == 4 ? argv[3] : "");
    if (!walk) {
        std::fprintf(stderr, "usage: msaa_probe PROGRAM_EXE SHOT_FOLDER WALK_FILE\n");
        return 2;
    }
    Program program;
    return program.start(argv[1]) && play_walk(program, walk, argv[2]) == 0 ? 0 : 1;
}
