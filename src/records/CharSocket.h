// The receive state of a line-oriented socket: a 100-byte buffer, whether the last line
// ended with CR LF, and whether the buffer holds data. A plain value; copies (moves included)
// copy the buffer and both flags. One object is used by one thread at a time.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CharSocket {
  public:
    static constexpr int kBufferSize = 100;

    // A zeroed buffer, holding no data, the last line counted as ended.
    CharSocket();
    CharSocket(const CharSocket& other);
    CharSocket& operator=(const CharSocket& other);
    CharSocket& operator=(CharSocket&& other);
    ~CharSocket();

    bool bLastRN();
    void SetLastRN(bool lastRN);
    // True when the buffer holds no data.
    bool IsEmpty();

  protected:
    char m_Buffer[kBufferSize];
    bool m_bLastRN;
    unsigned char m_bHasData;
};
