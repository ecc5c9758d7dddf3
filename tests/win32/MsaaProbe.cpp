// msaa_probe: starts varrowlog.exe and plays a walk file to it (ScreenWalk.h): keys pressed
// as an operator presses them, the windows read through MSAA (oleacc) as NVDA and JAWS read
// them, measured, and saved as BMP files.
//   msaa_probe PROGRAM_EXE SHOT_FOLDER WALK_FILE    exit 0 when every check holds
//   msaa_probe --shipped PROGRAM_EXE WALK_FILE       the program as shipped: its icon,
//                                                    version and manifest, then the walk
#include "win32/Msaa.h"
#include "win32/ScreenWalk.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace vl::test;

// The program as the operator unpacks it: its resources, then the walk.
int check_shipped_program(const std::string& exe, std::istream& walk) {
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
    return program.start(exe) && play_walk(program, walk, ".") == 0 && failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own pixels, not a scaled copy, at any dots per inch.
    SetProcessDPIAware();
    CoInitialize(nullptr);
    std::ifstream walk(argc == 4 ? argv[3] : "");
    if (!walk) {
        std::fprintf(stderr, "usage: msaa_probe [--shipped] PROGRAM_EXE [SHOT_FOLDER] WALK_FILE\n");
        return 2;
    }
    if (std::string(argv[1]) == "--shipped") {
        return check_shipped_program(argv[2], walk);
    }
    Program program;
    return program.start(argv[1]) && play_walk(program, walk, argv[2]) == 0 ? 0 : 1;
}
