#pragma once
// A fresh folder for one test, removed with everything in it when the test ends. Tests make their own
// files here and never touch anything else.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

class CTestTempDir {
public:
    CTestTempDir() {
        namespace fs = std::filesystem;
        std::string testName = "test";
        if (const auto* info = testing::UnitTest::GetInstance()->current_test_info()) testName = info->name();
        for (char& c : testName)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        // random_device alone is deterministic on some runtimes; the clock and a counter keep names apart.
        static std::atomic<unsigned> counter{0};
        std::random_device device;
        std::mt19937_64 generator(
            device() ^
            static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = fs::temp_directory_path() /
                                 ("melodeck-" + testName.substr(0, 40) + "-" + std::to_string(counter++) +
                                  "-" + std::to_string(generator() % 1000000000));
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                m_path = candidate;
                return;
            }
        }
        ADD_FAILURE() << "cannot create a temporary folder";
    }

    ~CTestTempDir() {
        namespace fs = std::filesystem;
        if (m_path.empty()) return;
        std::error_code error;
        // Read-only files would block the removal on Windows.
        for (auto it = fs::recursive_directory_iterator(m_path, error); !error && it != fs::end(it);
             it.increment(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_path, error);
    }

    CTestTempDir(const CTestTempDir&) = delete;
    CTestTempDir& operator=(const CTestTempDir&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }

    std::string WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) const {
        std::string path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << path;
        return path;
    }

    static std::vector<unsigned char> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
