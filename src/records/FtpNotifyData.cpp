#include "records/FtpNotifyData.h"

FtpNotifyData::FtpNotifyData() : strFile(), strMessage() { Init(); }

FtpNotifyData::FtpNotifyData(const FtpNotifyData& other) = default;

FtpNotifyData::FtpNotifyData(FtpNotifyData&& other)
    : FtpNotifyData(static_cast<const FtpNotifyData&>(other)) {}

FtpNotifyData& FtpNotifyData::operator=(const FtpNotifyData& other) = default;

FtpNotifyData& FtpNotifyData::operator=(FtpNotifyData&& other) {
    return *this = static_cast<const FtpNotifyData&>(other);
}

FtpNotifyData::~FtpNotifyData() = default;

void FtpNotifyData::Init() {
    nEvent = 0;
    for (uint32_t& word : key) word = 0;
    dPercent = 0.0;
    for (uint32_t& word : extra) word = 0;
}
