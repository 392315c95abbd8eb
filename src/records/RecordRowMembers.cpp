// The row library's bodies of members that shared record classes declare: what the
// library's own constructors of those records call to initialise the rest of the object.
#include "records/CFtpTransmit.h"
#include "records/CtmpFile.h"
#include "records/FtpNotifyData.h"

void FtpNotifyData::Init() {
    nEvent = 0;
    for (uint32_t& word : key) word = 0;
    dPercent = 0.0;
    for (uint32_t& word : extra) word = 0;
}

CFtpTransmit::CFtpTransmit(CWnd* owner) : m_pOwner(owner) {}

CtmpFile::CtmpFile(char* fileName) : m_strFileName(fileName) {}
