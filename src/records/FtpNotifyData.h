// What an FTP transfer reports to its listener: an event code, the task's key words, the
// progress, further words of the event and two texts. A plain value; copies (moves included)
// copy every member and leave the source as it was. One object is used by one thread at a
// time.
#pragma once

#include <cstdint>

#include "platform/CString.h"
#include "platform/Export.h"

struct XMK_EXPORT FtpNotifyData {
    // Empty texts; Init() clears the rest.
    FtpNotifyData();
    FtpNotifyData(const FtpNotifyData& other);
    FtpNotifyData(FtpNotifyData&& other);
    FtpNotifyData& operator=(const FtpNotifyData& other);
    FtpNotifyData& operator=(FtpNotifyData&& other);
    ~FtpNotifyData();

    // Sets every member but the two texts to zero.
    void Init();

    int nEvent;
    uint32_t key[4];
    double dPercent;
    uint32_t extra[4];
    CString strFile;
    CString strMessage;
};
