// Linked into the Windows console programs: their standard output and error are binary,
// so a journal is written byte for byte as on Linux, with "\n" not turned into "\r\n".
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

const bool kBinaryOutput = [] {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}();

}  // namespace
