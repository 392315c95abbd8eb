// Stands in for the vendor UI library's report-control cell (one item of a report record).
// Nothing is drawn on this platform; derived items keep their own data.
#pragma once

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CXTPReportRecordItem : public CObject {
  public:
    CXTPReportRecordItem();
    ~CXTPReportRecordItem() override;
};
