// Thirteen one-byte format settings of a printed cell (their meaning belongs to the row
// library). A plain value; copies (moves included) copy all thirteen.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CFormatInfo {
  public:
    static constexpr int kSettingCount = 13;

    // All settings 0.
    CFormatInfo();
    CFormatInfo(const CFormatInfo& other);
    CFormatInfo& operator=(const CFormatInfo& other);
    CFormatInfo& operator=(CFormatInfo&& other);
    ~CFormatInfo();

    unsigned char m_Settings[kSettingCount];
};
