#include "support/MediaFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

CMediaFolder::CMediaFolder(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) return;
    auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    // Tests of several processes run at once: the clock and a counter keep the names apart.
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / (prefix + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate, error) && !error) {
            m_strPath = candidate.string();
            return;
        }
    }
}

CMediaFolder::~CMediaFolder() {
    if (m_strPath.empty()) return;
    std::error_code error;
    fs::remove_all(fs::path(m_strPath), error);
}

std::string CMediaFolder::PathOf(const std::string& name) const {
    return (fs::path(m_strPath) / name).string();
}
