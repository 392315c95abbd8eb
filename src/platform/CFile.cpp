#include "platform/CFile.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

BOOL CFile::GetStatus(const char* path, CFileStatus& status) {
    if (path == nullptr || *path == '\0') return FALSE;
    struct stat info;
    if (stat(path, &info) != 0) return FALSE;

    CFileStatus result;
    result.m_size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
    result.m_mtime = info.st_mtime;
    char* resolved = realpath(path, nullptr);
    result.m_szFullName = resolved != nullptr ? resolved : path;
    free(resolved);
    status = result;
    return TRUE;
}
