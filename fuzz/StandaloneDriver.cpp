// Runs a fuzz target's entry point once over every file of the folders given,
// without libFuzzer: the seeds and the kept regressions become ordinary tests
// (and run under the sanitizers in the sanitizer build).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) continue;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
            // An exact-size copy, so that reading past the input is caught.
            std::vector<uint8_t> exact(bytes);
            LLVMFuzzerTestOneInput(exact.data(), exact.size());
            ++files;
        }
    }
    std::printf("%d inputs ran\n", files);
    return files > 0 ? 0 : 1;
}
