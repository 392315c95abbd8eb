#include "gridcore/CXML_FormatItemManager.h"

#include <memory>

#include "gridcore/CTableRow.h"
#include "gridcore/basefun.h"
#include "json/CJosn.h"
#include "wirekit/detail/RemoteCall.h"

namespace {

constexpr const char kInterfaceName[] = "ObjectList";

// The reply as a document when it is a JSON array; blanks around it do not count.
bool ReadArray(const CString& reply, CJosn& document) {
    CString text = reply;
    text.Trim();
    if (text.GetLength() < 2 || text[0] != '[' || text[text.GetLength() - 1] != ']') return false;
    document.SetValue(text);
    return true;
}

// An array element read the way a member value is read, so a text result and a row field
// are cleaned alike (quotes removed, null empty, escaped quotes unescaped). Reading the
// element itself would cut a text such as "12:30" at its colon.
CString ElementValue(const CJosn& array, unsigned int index) {
    CJosn member("{v:" + array.GetChildStruct(index).text + "}");
    return member.GetChildValue(0);
}

}  // namespace

CXML_FormatItemManager::CXML_FormatItemManager(const char* url, const char* nameSpace,
                                               const char* method)
    : url_(url), nameSpace_(nameSpace), method_(method), service_(kInterfaceName) {}

CXML_FormatItemManager::CXML_FormatItemManager(const CXML_FormatItemManager& other)
    : CTableRow(other),
      flags_(other.flags_),
      columns_(other.columns_),
      widths_(other.widths_),
      values_(other.values_),
      option_(other.option_),
      url_(other.url_),
      nameSpace_(other.nameSpace_),
      method_(other.method_),
      service_(other.service_) {}

CXML_FormatItemManager::~CXML_FormatItemManager() = default;

std::pair<bool, CString> CXML_FormatItemManager::Query(long kind, long userId, long option,
                                                       const CString& sql) const {
    if (url_.IsEmpty()) return std::pair<bool, CString>(false, CString());
    return RemoteCall(nameSpace_, service_, url_, method_,
                      {{"kind", DecimalText(kind)},
                       {"userId", DecimalText(userId)},
                       {"option", DecimalText(option)},
                       {"sql", sql}});
}

bool CXML_FormatItemManager::GetObListFromServer(long kind, long userId, long option, CString& sql,
                                                 std::vector<CTableRow*>& rows, const basefun& fn) {
    std::pair<bool, CString> reply = Query(kind, userId, option, sql);
    CJosn document;
    if (!reply.first || !ReadArray(reply.second, document)) return false;
    const unsigned int count = document.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) {
        if (!document.IsChildObject(i)) return false;
    }

    // Every record is checked before any row is made, so a bad reply leaves `rows` as it was.
    for (unsigned int i = 0; i < count; ++i) {
        std::unique_ptr<CTableRow> row(fn.CreateRow());
        if (!row) continue;
        CJosn record = document.GetChild(i);
        const unsigned int fields = record.GetChildCount();
        for (unsigned int j = 0; j < fields; ++j) {
            row->SetFieldValue(record.GetChildName(j), record.GetChildValue(j));
        }
        rows.push_back(row.release());
    }
    return true;
}

bool CXML_FormatItemManager::GetResultFromServer(long kind, long userId, long option, CString& sql,
                                                 std::vector<CString>& result) {
    std::pair<bool, CString> reply = Query(kind, userId, option, sql);
    CJosn document;
    if (!reply.first || !ReadArray(reply.second, document)) return false;
    const unsigned int count = document.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) result.push_back(ElementValue(document, i));
    return true;
}
