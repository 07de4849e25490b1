// Every kept fuzzing input, the seed corpus and the inputs of crashes since fixed, runs through
// the fuzz target in the regular build, one test per file, so a crash names its input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quorvel::fuzz {
namespace {

namespace fs = std::filesystem;

struct KeptInput {
    fs::path path;
    std::string name;
};

void PrintTo(const KeptInput& input, std::ostream* out) {
    *out << input.path.generic_string();
}

std::vector<KeptInput> keptInputs() {
    std::vector<KeptInput> inputs;
    for (const fs::path& folder :
         {fs::path(QUORVEL_FUZZ_CORPUS_DIR), fs::path(QUORVEL_FUZZ_REGRESSION_DIR)}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().filename().string().front() == '.')
                continue;
            std::string name = folder.filename().string() + "_" +
                               fs::relative(entry.path(), folder).generic_string();
            std::replace_if(
                name.begin(), name.end(), [](char c) { return !std::isalnum(c & 0xFF); }, '_');
            inputs.push_back({entry.path(), name});
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const KeptInput& a, const KeptInput& b) { return a.name < b.name; });
    return inputs;
}

class FuzzReplayTest : public ::testing::TestWithParam<KeptInput> {};

TEST_P(FuzzReplayTest, RunsWithoutFault) {
    std::ifstream file(GetParam().path, std::ios::binary);
    ASSERT_TRUE(file) << GetParam().path;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzReplayTest, ::testing::ValuesIn(keptInputs()),
                         [](const ::testing::TestParamInfo<KeptInput>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace quorvel::fuzz
