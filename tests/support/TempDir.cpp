#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xmktest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary directory";
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
    std::string path = path_ + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return path;
}

int TempDir::EntryCount() const {
    int count = 0;
    std::error_code ignored;
    for (auto it = std::filesystem::directory_iterator(path_, ignored);
         it != std::filesystem::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}
