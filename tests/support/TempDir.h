// A private temporary directory, removed with everything in it when the object is destroyed.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes `content` (bytes as they stand) to `name` inside the directory; returns the path.
    std::string WriteFile(const std::string& name, const std::string& content) const;
    // Writes a zip archive of `entries` (name, content), in order, to `name`; names ending in
    // "/" are folders. `store` leaves the contents uncompressed. Returns the path.
    std::string WriteZip(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& entries,
                         bool store = false) const;
    // Number of entries now in the directory.
    int EntryCount() const;

  private:
    std::string path_;
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadFile(const std::string& path);
