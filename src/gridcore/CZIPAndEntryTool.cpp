#include "gridcore/CZIPAndEntryTool.h"

#include <errno.h>
#include <stdlib.h>
#include <unistd.h>
#include <zip.h>

#include <cstring>
#include <filesystem>

#include "platform/detail/RegularFile.h"

namespace {

// An unpacked configuration is a few kilobytes; the bound keeps a zip bomb from filling the
// disk.
constexpr zip_uint64_t kMaxEntrySize = 64u << 20;

// Only a regular file is looked into, so a FIFO or a device never blocks the caller here.
bool StartsWithZipSignature(const char* path) {
    std::string head;
    return ReadRegularFile(path, 4, head) && head == "PK\x03\x04";
}

bool EndsWithIni(const char* name) {
    size_t length = std::strlen(name);
    return length >= 4 && strcasecmp(name + length - 4, ".ini") == 0;
}

bool IsDirectoryEntry(const char* name) {
    size_t length = std::strlen(name);
    return length > 0 && name[length - 1] == '/';
}

// The entry to unpack, or -1 when there is none.
zip_int64_t ChooseEntry(zip_t* archive) {
    zip_int64_t count = zip_get_num_entries(archive, 0);
    zip_int64_t first_file = -1;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name == nullptr || IsDirectoryEntry(name)) continue;
        if (EndsWithIni(name)) return i;
        if (first_file < 0) first_file = i;
    }
    return first_file;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies entry `index` to `fd`, refusing more than kMaxEntrySize bytes whatever the archive
// claims.
bool CopyEntry(zip_t* archive, zip_int64_t index, int fd) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) return false;
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > kMaxEntrySize) return false;

    zip_file_t* entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (entry == nullptr) return false;
    char buffer[65536];
    zip_uint64_t total = 0;
    bool ok = true;
    for (;;) {
        zip_int64_t n = zip_fread(entry, buffer, sizeof buffer);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        total += static_cast<zip_uint64_t>(n);
        if (total > kMaxEntrySize || !WriteAll(fd, buffer, static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    if (zip_fclose(entry) != 0) ok = false;
    return ok;
}

std::string TempPattern() {
    std::error_code error;
    std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    if (error) dir = "/tmp";
    return (dir / "xmkini-XXXXXX").string();
}

void RemoveTempFile(const std::string* path) {
    unlink(path->c_str());
    delete path;
}

}  // namespace

CZIPAndEntryTool::CZIPAndEntryTool() = default;

CZIPAndEntryTool::~CZIPAndEntryTool() = default;

ZipRet CZIPAndEntryTool::UnZip(const CString& path) const {
    if (!StartsWithZipSignature(path)) return ZipRet(path);

    int error = 0;
    zip_t* archive = zip_open(path, ZIP_RDONLY, &error);
    if (archive == nullptr) return ZipRet();
    zip_int64_t index = ChooseEntry(archive);
    if (index < 0) {
        zip_discard(archive);
        return ZipRet();
    }

    std::string temp = TempPattern();
    int fd = mkstemp(temp.data());  // mode 0600: only this user can read the settings
    if (fd < 0) {
        zip_discard(archive);
        return ZipRet();
    }
    bool ok = CopyEntry(archive, index, fd);
    zip_discard(archive);
    if (close(fd) != 0) ok = false;
    if (!ok) {
        unlink(temp.c_str());
        return ZipRet();
    }

    ZipRet result{CString(temp)};
    result.bUnzipped = true;
    result.m_tempFile.reset(new std::string(temp), RemoveTempFile);
    return result;
}
