#include "gridcore/CSysDataInfo.h"

CSysDataInfo::CSysDataInfo() : id_(0) {}

CSysDataInfo::CSysDataInfo(CSysDataInfo* source) : CSysDataInfo(*source) {}

CSysDataInfo::CSysDataInfo(long id, CString& text) : id_(id) {
    CTableRow::SetFieldValue(kTextField, text);
}

CSysDataInfo::CSysDataInfo(long id, char* text) : id_(id) {
    CTableRow::SetFieldValue(kTextField, CString(text));
}

CSysDataInfo::CSysDataInfo(const CSysDataInfo& other) : CTableRow(other), id_(other.id_) {}

CSysDataInfo::~CSysDataInfo() = default;
