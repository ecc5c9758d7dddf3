// Libraries loaded with dlopen: a shared library of the same exported functions stands in
// for each Windows library, under the same name with ".so".
#include <dlfcn.h>

#include "platform/SharedLibrary.h"

namespace vl::platform {

namespace {

class PosixLibrary final : public SharedLibrary {
public:
    explicit PosixLibrary(void* handle) : m_handle(handle) {}
    ~PosixLibrary() override { ::dlclose(m_handle); }
    PosixLibrary(const PosixLibrary&) = delete;
    PosixLibrary& operator=(const PosixLibrary&) = delete;

    LibraryFunction function(const std::string& name) override {
        // POSIX lets the object pointer dlsym gives be used as a function pointer.
        return reinterpret_cast<LibraryFunction>(::dlsym(m_handle, name.c_str()));
    }

private:
    void* m_handle;
};

class PosixLibraries final : public SharedLibraries {
public:
    std::unique_ptr<SharedLibrary> open(const std::string& path) override {
        // A path without "/" would be searched for on the library path; the program names
        // only files in its own folder.
        if (path.find('/') == std::string::npos) {
            return nullptr;
        }
        // RTLD_LOCAL keeps the three libraries' names apart when more than one is loaded.
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        return std::make_unique<PosixLibrary>(handle);
    }

    std::string file_name(std::string_view stem) override { return std::string(stem) + ".so"; }
};

}  // namespace

SharedLibraries& system_shared_libraries() {
    static PosixLibraries libraries;
    return libraries;
}

}  // namespace vl::platform
