// Runs a fuzz target without libFuzzer: each file named on the command line, then a number
// of generated inputs (random bytes, and variations of the files given). The test suite runs
// it briefly; a build with clang and VARROW_LIBFUZZER=ON runs the same targets under libFuzzer.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    std::vector<std::string> seeds;
    int iterations = 2000;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--iterations=", 0) == 0) {
            iterations = std::atoi(arg.c_str() + 13);
            continue;
        }
        std::ifstream in(arg, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const std::string& seed : seeds) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    }
    std::mt19937 random(12345);
    for (int i = 0; i < iterations; ++i) {
        std::string input;
        if (!seeds.empty() && i % 2 == 0) {
            input = seeds[random() % seeds.size()];
            for (int flips = 1 + static_cast<int>(random() % 8); flips > 0 && !input.empty();
                 --flips) {
                input[random() % input.size()] = static_cast<char>(random());
            }
            if (random() % 4 == 0) {
                input.resize(random() % (input.size() + 1));
            }
        } else {
            input.resize(random() % 600);
            for (char& c : input) {
                c = static_cast<char>(random());
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::cout << "ran " << seeds.size() + static_cast<std::size_t>(iterations) << " inputs\n";
    return 0;
}
