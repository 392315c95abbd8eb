// One file of an FTP job: the local and remote paths, the task's key and its status.
// Sharing: the two paths are texts shared between a task and its copies (the same pointers)
// and stay valid as long as any of those tasks lives. One object is used by one thread at a
// time.
#pragma once

#include "platform/Export.h"
#include "platform/GUID.h"
#include "records/SharedText.h"

class XMK_EXPORT CFtpFileTask {
  public:
    // No paths, a zero key, status 0.
    CFtpFileTask();
    // Takes private copies of the paths (null stays null).
    CFtpFileTask(const char* localFile, const char* remoteFile, const _GUID& key);
    CFtpFileTask(const CFtpFileTask& other);
    CFtpFileTask& operator=(const CFtpFileTask& other);
    ~CFtpFileTask();

    char* GetLocalFile();
    char* GetRemoteFile();
    _GUID& GetkeyGUID();
    unsigned char bStatus();
    void SetStatus(unsigned char status);

  private:
    SharedText m_LocalFile;
    SharedText m_RemoteFile;
    _GUID m_key;
    unsigned char m_bStatus;
};
