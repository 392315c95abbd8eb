#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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

std::string TempDir::WriteZip(const std::string& name,
                              const std::vector<std::pair<std::string, std::string>>& entries,
                              bool store) const {
    const std::string path = path_ + "/" + name;
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [entry, text] : entries) {
        const zip_int64_t index =
            entry.back() == '/'
                ? zip_dir_add(archive, entry.c_str(), 0)
                : zip_file_add(archive, entry.c_str(),
                               zip_source_buffer(archive, text.data(), text.size(), 0), 0);
        if (store) zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    EXPECT_EQ(zip_close(archive), 0) << path;
    return path;
}

int TempDir::EntryCount() const {
    std::error_code ignored;
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(path_, ignored),
                                          std::filesystem::directory_iterator()));
}

std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
