// A system data row that shows one text per column. The row owns its texts; copies have
// their own. A value; one object is used by one thread at a time.
#pragma once

#include <vector>

#include "gridcore/CSysDataInfo.h"
#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CSysDataInfo_VecStr : public CSysDataInfo {
  public:
    // No texts.
    CSysDataInfo_VecStr();
    CSysDataInfo_VecStr(long id, CString& text);
    CSysDataInfo_VecStr(long id, char* text);
    // A copy of *source, texts included.
    // REQUIRES: source != nullptr.
    explicit CSysDataInfo_VecStr(CSysDataInfo_VecStr* source);
    CSysDataInfo_VecStr(const CSysDataInfo_VecStr& other);
    ~CSysDataInfo_VecStr() override;

    // Appends `text` as the next column.
    void AddData(CString const& text);
    // The text of `column`, or the empty text when `column` is outside [0, number of texts).
    // `other` is not used.
    CString GetCStringColoumByTable(int column, int other) override;

  private:
    std::vector<CString> m_vecStr;
};
