// CFile: the one file operation the library needs from the framework, asking whether a path
// names an existing file system entry. Safe to call from any thread.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/WinTypes.h"

// What GetStatus learns about an entry.
struct XMK_EXPORT CFileStatus {
    uint64_t m_size = 0;   // bytes (0 for a directory)
    time_t m_mtime = 0;    // last modification
    CString m_szFullName;  // the absolute path
};

class XMK_EXPORT CFile {
  public:
    // TRUE and `status` filled when `path` names an existing file or directory; FALSE (and
    // `status` untouched) when it does not exist, cannot be reached, or is null or empty.
    static BOOL GetStatus(const char* path, CFileStatus& status);
};
