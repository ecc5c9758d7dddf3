// A stand-in for TrustedQSL's tqsl under Wine: writes its arguments, one a line, to
// TQSLARGS.TXT beside itself, copies the file named last to TQSLSENT.ADI, and exits with the
// number in TQSLEXIT.TXT (0 when there is none).
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    std::string self = argv[0];
    const std::size_t slash = self.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : self.substr(0, slash + 1);
    std::ofstream args(folder + "TQSLARGS.TXT", std::ios::binary);
    for (int i = 1; i < argc; ++i) {
        args << argv[i] << '\n';
    }
    if (argc > 1) {
        std::ifstream from(argv[argc - 1], std::ios::binary);
        std::ofstream(folder + "TQSLSENT.ADI", std::ios::binary)
            << std::string(std::istreambuf_iterator<char>(from), {});
    }
    int code = 0;
    std::ifstream(folder + "TQSLEXIT.TXT") >> code;
    return code;
}
