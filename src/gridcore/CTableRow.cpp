#include "gridcore/CTableRow.h"

CTableRow::CTableRow() = default;

CTableRow::CTableRow(const CTableRow& other) = default;

CTableRow& CTableRow::operator=(const CTableRow& other) = default;

CTableRow::~CTableRow() = default;

std::vector<CString>& CTableRow::gSplit(const CString& text, const CString& delimiter,
                                        std::vector<CString>& out) {
    const std::string& whole = text.Str();
    const std::string& delim = delimiter.Str();
    if (delim.empty()) {
        out.push_back(text);
        return out;
    }
    std::string::size_type start = 0;
    do {
        const std::string::size_type end = whole.find(delim, start);
        if (end == std::string::npos) {
            out.push_back(CString(whole.substr(start)));
            break;
        }
        out.push_back(CString(whole.substr(start, end - start)));
        start = end + delim.size();
    } while (start < whole.size());
    return out;
}

void CTableRow::SetFieldValue(const CString& name, const CString& value) {
    for (auto& field : fields_) {
        if (field.first == name) {
            field.second = value;
            return;
        }
    }
    fields_.emplace_back(name, value);
}

CString CTableRow::GetFieldValue(const CString& name) const {
    for (const auto& field : fields_) {
        if (field.first == name) return field.second;
    }
    return CString();
}

CString CTableRow::GetFieldName(int index) const {
    if (index < 0 || index >= GetFieldCount()) return CString();
    return fields_[index].first;
}

int CTableRow::GetFieldCount() const { return static_cast<int>(fields_.size()); }

CString CTableRow::GetCStringColoumByTable(int column, int /*other*/) {
    if (column < 0 || column >= GetFieldCount()) return CString();
    return fields_[column].second;
}
