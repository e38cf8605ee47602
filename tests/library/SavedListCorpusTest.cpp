// Replays the fuzz target's seed corpus through the fuzz entry function, so that its rules are checked in
// the ordinary sanitizer build as well. A broken rule aborts the test with its description.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(MELODECK_SAVED_LIST_CORPUS, error))
        if (item.is_regular_file()) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

} // namespace

class SavedListCorpusTest : public testing::TestWithParam<std::string> {};

TEST_P(SavedListCorpusTest, KeepsTheReadersRules) {
    std::ifstream in(fs::path(MELODECK_SAVED_LIST_CORPUS) / GetParam(), std::ios::binary);
    ASSERT_TRUE(in.good());
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SavedListCorpusTest, testing::ValuesIn(CorpusFiles()), TestName);

TEST(SavedListCorpusFilesTest, TheSeedsAreThere) {
    EXPECT_GE(CorpusFiles().size(), 8u) << MELODECK_SAVED_LIST_CORPUS;
}
