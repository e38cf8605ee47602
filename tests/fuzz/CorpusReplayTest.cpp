// Replays a fuzz target's seed corpus (the folder MELODECK_FUZZ_CORPUS) through its entry function, so
// that its rules are checked in the ordinary sanitizer build as well. A broken rule aborts the test with
// its description. The tests are named after the target (MELODECK_FUZZ_NAME), as each target's replay
// has the same cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define MD_JOIN2(a, b) a##b
#define MD_JOIN(a, b) MD_JOIN2(a, b)
#define MD_REPLAY_TEST MD_JOIN(MELODECK_FUZZ_NAME, CorpusTest)
// GoogleTest turns its arguments into names unexpanded: one more macro level expands them first.
#define MD_TEST_P(suite, name) TEST_P(suite, name)
#define MD_TEST(suite, name) TEST(suite, name)
#define MD_INSTANTIATE(prefix, suite, ...) INSTANTIATE_TEST_SUITE_P(prefix, suite, __VA_ARGS__)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(MELODECK_FUZZ_CORPUS, error))
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

class MD_REPLAY_TEST : public testing::TestWithParam<std::string> {};

MD_TEST_P(MD_REPLAY_TEST, KeepsTheReadersRules) {
    std::ifstream in(fs::path(MELODECK_FUZZ_CORPUS) / GetParam(), std::ios::binary);
    ASSERT_TRUE(in.good());
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
}

MD_INSTANTIATE(Seeds, MD_REPLAY_TEST, testing::ValuesIn(CorpusFiles()), TestName);

MD_TEST(MD_JOIN(MELODECK_FUZZ_NAME, CorpusFilesTest), TheSeedsAreThere) {
    EXPECT_GE(CorpusFiles().size(), 8u) << MELODECK_FUZZ_CORPUS;
}
