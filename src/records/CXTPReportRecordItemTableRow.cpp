#include "records/CXTPReportRecordItemTableRow.h"

CXTPReportRecordItemTableRow::CXTPReportRecordItemTableRow() = default;

CXTPReportRecordItemTableRow::~CXTPReportRecordItemTableRow() = default;
