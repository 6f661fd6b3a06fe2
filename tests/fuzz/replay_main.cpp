// Runs the fuzzer's checks over every file in the given folders, without the fuzzing engine.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char *argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        for (const auto &entry : std::filesystem::recursive_directory_iterator(given)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path(), std::ios::binary);
            std::ostringstream read;
            read << file.rdbuf();
            const std::string bytes = read.str();
            LLVMFuzzerTestOneInput(
                    reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
            ++inputs;
        }
    }
    std::printf("%d inputs checked\n", inputs);
    return inputs > 0 ? 0 : 1; // no input at all proves nothing
}
