// Stands in for the row library's system data row: a table row with one number, the id of a
// system data entry, and its text, which it keeps as the row's field "Name".
// Rows are values; one object is used by one thread at a time.
#pragma once

#include "gridcore/CTableRow.h"
#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CSysDataInfo : public CTableRow {
  public:
    // The field that the text-taking constructors fill.
    static constexpr const char* kTextField = "Name";

    // Id 0, no text.
    CSysDataInfo();
    // A copy of *source.
    // REQUIRES: source != nullptr.
    explicit CSysDataInfo(CSysDataInfo* source);
    CSysDataInfo(long id, CString& text);
    // A null `text` reads as the empty text.
    CSysDataInfo(long id, char* text);
    CSysDataInfo(const CSysDataInfo& other);
    ~CSysDataInfo() override;

    long GetDataID() const { return id_; }
    // The text given at construction (the field kTextField).
    CString GetDataText() const { return GetFieldValue(kTextField); }

  private:
    long id_;
};
