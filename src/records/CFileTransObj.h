// A file being transferred: its identifier and its local and remote sizes. A plain value;
// copies (moves included) copy every member. One object is used by one thread at a time.
#pragma once

#include "platform/Export.h"
#include "platform/GUID.h"

class XMK_EXPORT CFileTransObj {
  public:
    // A zero identifier, both sizes 0.
    CFileTransObj();
    CFileTransObj(const _GUID& id, long localSize, long remoteSize);
    CFileTransObj(const CFileTransObj& other);
    CFileTransObj(CFileTransObj&& other);
    CFileTransObj& operator=(const CFileTransObj& other);
    CFileTransObj& operator=(CFileTransObj&& other);
    ~CFileTransObj();

    // 1 when `id` equals this object's identifier in all 16 bytes, else 0.
    int bEqual(_GUID& id);
    // The local size when `local` is true, the remote size otherwise.
    long GetFileSize(bool local);

  private:
    _GUID m_id;
    long m_lLocalSize;
    long m_lRemoteSize;
};
