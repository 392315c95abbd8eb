// Stands in for the row library's table row: the base of every record that a table shows
// and that the object-list queries build. A row is a value; one object is used by one
// thread at a time.
//
// Named fields: a row keeps a small list of (name, value) texts, in the order the names were
// first set. Query code fills rows through the virtual SetFieldValue, so a derived row may
// override it to map names onto its own members; the default stores them in this list, which
// GetFieldValue, GetFieldName, GetFieldCount and the default GetCStringColoumByTable read.
// Names are matched exactly (bytes, case-sensitive). Copies carry their own list.
#pragma once

#include <utility>
#include <vector>

#include "gridcore/RowBases.h"
#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CTableRow : public CCoBaseObj, public CSerializeJsonBase {
  public:
    CTableRow();
    CTableRow(const CTableRow& other);
    CTableRow& operator=(const CTableRow& other);
    ~CTableRow() override;

    // Splits `text` at every occurrence of the whole `delimiter`, appends the pieces to `out`
    // in text order and returns `out`. The first piece is always taken, so an empty text
    // gives one empty piece; an empty piece between two adjacent delimiters is kept; a
    // delimiter at the very end adds no empty piece. Nothing is trimmed. An empty delimiter
    // gives the whole text as one piece. `out` is never cleared.
    static std::vector<CString>& gSplit(const CString& text, const CString& delimiter,
                                        std::vector<CString>& out);

    // Gives field `name` the value `value`: an existing field of that name keeps its place
    // and takes the new value, a new name is appended.
    virtual void SetFieldValue(const CString& name, const CString& value);
    // The value that the default SetFieldValue stored under `name`, or the empty text.
    CString GetFieldValue(const CString& name) const;
    // The name of the field at `index` in the order of first setting, or the empty text when
    // `index` is outside [0, GetFieldCount()).
    CString GetFieldName(int index) const;
    int GetFieldCount() const;

    // The text shown in `column`: by default the value of the field at that index, or the
    // empty text when there is none. `other` is for derived rows and unused here.
    virtual CString GetCStringColoumByTable(int column, int other);

  private:
    std::vector<std::pair<CString, CString>> fields_;
};
