// Stands in for the framework's database record set, the base of the row library's record
// sets. It connects to nothing on this platform.
#pragma once

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CRecordset : public CObject {
  public:
    CRecordset();
    ~CRecordset() override;
};
