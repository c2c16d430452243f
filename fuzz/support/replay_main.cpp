// Runs kept inputs through a fuzz target's LLVMFuzzerTestOneInput without libFuzzer: each file
// named, and each file under each folder named (in name order, so a run is repeatable). A folder
// that does not exist holds nothing. Built into ctest's replay tests; under the sanitizers a
// crash that came back fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg, ec))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (fs::exists(arg, ec)) {
            files.push_back(arg);
        }
    }
    std::sort(files.begin(), files.end());
    int failed = 0;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            ++failed;
            continue;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());  // exactly its size: overreads show
        LLVMFuzzerTestOneInput(copy.data(), copy.size());
    }
    std::printf("%zu passed, %d failed\n", files.size() - static_cast<std::size_t>(failed), failed);
    return failed == 0 ? 0 : 1;
}
