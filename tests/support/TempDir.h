// A private temporary directory, removed with everything in it when the object is destroyed.
#pragma once

#include <string>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes `content` (bytes as they stand) to `name` inside the directory; returns the path.
    std::string WriteFile(const std::string& name, const std::string& content) const;
    // Number of entries now in the directory.
    int EntryCount() const;

  private:
    std::string path_;
};
