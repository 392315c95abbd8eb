#include "platform/CXTPReportRecordItem.h"

CXTPReportRecordItem::CXTPReportRecordItem() = default;

CXTPReportRecordItem::~CXTPReportRecordItem() = default;
