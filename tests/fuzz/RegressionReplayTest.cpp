#include "fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

void PrintTo(const FuzzTarget& target, std::ostream* out)
{
    *out << target.name;
}

// Every input kept under fuzz/regressions/<target>/ once made a reader crash, hang, overflow or fill
// memory. Each goes through the same entry point the fuzzer used; the sanitizers of this build (or the
// entry point's own checks) fail the test if the fault comes back.
class RegressionReplayTest : public testing::TestWithParam<FuzzTarget>
{
protected:
    static void SetUpTestSuite() { PrepareFuzzing(); }
};

TEST_P(RegressionReplayTest, EveryKeptInputReadsWithoutAFault)
{
    const fs::path folder = fs::path(TARNVALE_FUZZ_DIR) / "regressions" / GetParam().name;
    if (!fs::is_directory(folder))
        GTEST_SKIP() << "no inputs kept for " << GetParam().name;
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        std::ifstream file(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, RegressionReplayTest, testing::ValuesIn(AllFuzzTargets()),
                         [](const testing::TestParamInfo<FuzzTarget>& info) { return std::string(info.param.name); });
