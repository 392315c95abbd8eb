#include "records/CFormatInfo.h"

CFormatInfo::CFormatInfo() : m_Settings() {}

CFormatInfo::CFormatInfo(const CFormatInfo& other) = default;

CFormatInfo& CFormatInfo::operator=(const CFormatInfo& other) = default;

CFormatInfo& CFormatInfo::operator=(CFormatInfo&& other) {
    return *this = static_cast<const CFormatInfo&>(other);
}

CFormatInfo::~CFormatInfo() = default;
