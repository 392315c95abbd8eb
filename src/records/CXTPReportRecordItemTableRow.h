// A report-control cell that shows a value of a table row; its contents belong to the row library.
// Nothing is shown on this platform.
#pragma once

#include "platform/CXTPReportRecordItem.h"
#include "platform/Export.h"

class XMK_EXPORT CXTPReportRecordItemTableRow : public CXTPReportRecordItem {
  public:
    CXTPReportRecordItemTableRow();
    ~CXTPReportRecordItemTableRow() override;
};
