// CXML_FormatItemManager: one query of the object-list service. It sends an SQL text to one
// method of the service through the process's remote-call transport (interface "ObjectList"
// in the namespace it is given) and reads the JSON reply into rows or texts.
//
// The request carries four arguments, in this order: the three numbers of the query as
// decimal texts, "kind", "userId" and "option", then "sql" (the SQL text). The service layer
// sends kind 0, the user's id (or the caller's number) and option 1.
//
// Replies:
//   rows  ("GetXml" and the like): a JSON array of flat objects, one per record, e.g.
//         [{"ID":"7","Name":"abc"},{"ID":"8","Name":"def"}]; every member becomes one field.
//   texts ("GetSqlFormated" and the like): a JSON array of values, e.g. ["a","12:30",3];
//         each element becomes one text, read as a member value is (quotes removed).
// Replies are compact JSON as CJosn reads it (no blanks between tokens); blanks around the
// whole reply are ignored. A failed exchange, a reply that is not such an array,
// or an empty URL (no call is made) gives false and leaves the caller's vector as it was.
// Distinct objects may be used on distinct threads at once.
//
// The manager is itself a table row (it is shown in the row library's lists). Besides the
// row, it carries a byte, two sequences of 32-bit values, a list of value texts, a 32-bit
// field and four texts (the URL, the namespace, the method and the service interface).
// The value texts are not owned: whoever adds a pointer keeps its text alive for as long as
// this object or any copy of it may read it. A copy points to the same texts as its source.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "gridcore/CTableRow.h"
#include "platform/CString.h"
#include "platform/Export.h"

class basefun;

class XMK_EXPORT CXML_FormatItemManager : public CTableRow {
  public:
    // A query of `method` at `url` in the namespace `nameSpace`; null pointers read as empty.
    CXML_FormatItemManager(const char* url, const char* nameSpace, const char* method);
    // Copies the row, the byte, the three sequences element by element (value pointers as
    // they stand), the 32-bit field and the four texts.
    CXML_FormatItemManager(const CXML_FormatItemManager& other);
    ~CXML_FormatItemManager() override;

    XMK_EXPORT_INLINE std::vector<char*>& GetValues() { return values_; }

    // Appends one row per record of the reply, each made by `fn.CreateRow()` (records for
    // which it gives null are skipped) and filled with SetFieldValue(member name, value).
    // The caller owns the rows appended. True when the reply was read.
    bool GetObListFromServer(long kind, long userId, long option, CString& sql,
                             std::vector<CTableRow*>& rows, const basefun& fn);
    // Appends the texts of the reply. True when the reply was read.
    bool GetResultFromServer(long kind, long userId, long option, CString& sql,
                             std::vector<CString>& result);

  private:
    // The exchange; false when there is no URL or the exchange failed.
    std::pair<bool, CString> Query(long kind, long userId, long option, const CString& sql) const;

    unsigned char flags_ = 0;
    std::vector<int32_t> columns_;
    std::vector<int32_t> widths_;
    std::vector<char*> values_;
    int32_t option_ = 0;
    CString url_;
    CString nameSpace_;
    CString method_;
    CString service_;
};
