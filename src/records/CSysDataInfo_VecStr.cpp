#include "records/CSysDataInfo_VecStr.h"

CSysDataInfo_VecStr::CSysDataInfo_VecStr() = default;

CSysDataInfo_VecStr::CSysDataInfo_VecStr(long id, CString& text) : CSysDataInfo(id, text) {}

CSysDataInfo_VecStr::CSysDataInfo_VecStr(long id, char* text) : CSysDataInfo(id, text) {}

CSysDataInfo_VecStr::CSysDataInfo_VecStr(CSysDataInfo_VecStr* source)
    : CSysDataInfo(source), m_vecStr(source->m_vecStr) {}

CSysDataInfo_VecStr::CSysDataInfo_VecStr(const CSysDataInfo_VecStr& other)
    : CSysDataInfo(other), m_vecStr(other.m_vecStr) {}

CSysDataInfo_VecStr::~CSysDataInfo_VecStr() = default;

void CSysDataInfo_VecStr::AddData(CString const& text) { m_vecStr.push_back(text); }

CString CSysDataInfo_VecStr::GetCStringColoumByTable(int column, int /*other*/) {
    if (column < 0 || static_cast<size_t>(column) >= m_vecStr.size()) return CString();
    return m_vecStr[column];
}
