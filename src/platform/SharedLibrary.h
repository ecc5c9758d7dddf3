// Libraries loaded while the program runs, such as a call-book library beside the program:
// open one by its path, find an exported function, close it. One portable interface, a
// dlopen backend on POSIX systems and a LoadLibrary backend on Windows.
#pragma once

#include <memory>
#include <string>
#include <string_view>

// The calling convention of the call-book libraries' exported functions: stdcall on 32-bit
// Windows, where those libraries come from; the platform's own convention elsewhere.
#if defined(_WIN32)
#define VARROW_LIBRARY_CALL __stdcall
#else
#define VARROW_LIBRARY_CALL
#endif

namespace vl::platform {

// Any exported function, before it is cast to its real type.
using LibraryFunction = void (*)();

// A loaded library; closed when this object is destroyed.
class SharedLibrary {
public:
    virtual ~SharedLibrary() = default;
    // Nothing when the library exports no function of that name.
    virtual LibraryFunction function(const std::string& name) = 0;
};

class SharedLibraries {
public:
    virtual ~SharedLibraries() = default;
    // Nothing when the file is missing or is not a library this system can load.
    virtual std::unique_ptr<SharedLibrary> open(const std::string& path) = 0;
    // The file name of the library this system loads for a name such as "HAMCAL32":
    // "HAMCAL32.DLL" on Windows, "HAMCAL32.so" elsewhere.
    virtual std::string file_name(std::string_view stem) = 0;
};

// The system's loader.
SharedLibraries& system_shared_libraries();

}  // namespace vl::platform
