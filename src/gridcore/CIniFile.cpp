#include "gridcore/CIniFile.h"

#include <cstring>

#include "platform/detail/Atoi.h"
#include "platform/detail/RegularFile.h"

namespace {

// Anything bigger is not a configuration file; refusing it keeps a mistaken path (a huge
// log) from eating memory.
constexpr size_t kMaxFileSize = 256u << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Narrows [begin, end) to its part without surrounding blanks.
void TrimRange(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

void AppendLower(std::string& out, const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        char c = *p;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

std::string LookupKey(const CString& section, const CString& key) {
    std::string joined;
    joined.reserve(section.GetLength() + key.GetLength() + 1);
    AppendLower(joined, section.Str().data(), section.Str().data() + section.GetLength());
    joined += '\n';
    AppendLower(joined, key.Str().data(), key.Str().data() + key.GetLength());
    return joined;
}

class Parser {
  public:
    explicit Parser(std::unordered_map<std::string, std::string>& values) : values_(values) {}

    void Parse(const std::string& text) {
        const char* p = text.data();
        const char* end = p + text.size();
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) p += 3;
        while (p < end) {
            const char* line_end = p;
            while (line_end < end && *line_end != '\n' && *line_end != '\r') ++line_end;
            Line(p, line_end);
            p = line_end + 1;
        }
    }

  private:
    void Line(const char* begin, const char* end) {
        TrimRange(begin, end);
        if (begin == end || *begin == ';' || *begin == '#') return;
        if (*begin == '[') {
            const char* name_end = static_cast<const char*>(
                std::memchr(begin + 1, ']', static_cast<size_t>(end - begin - 1)));
            Section(begin + 1, name_end != nullptr ? name_end : end);
            return;
        }
        const char* eq =
            static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(end - begin)));
        if (eq == nullptr || !in_section_) return;
        Value(begin, eq, eq + 1, end);
    }

    void Section(const char* begin, const char* end) {
        TrimRange(begin, end);
        section_.clear();
        AppendLower(section_, begin, end);
        section_ += '\n';
        in_section_ = true;
        // The empty key marks the section as present; no value line has an empty key.
        values_.try_emplace(section_);
    }

    void Value(const char* key_begin, const char* key_end, const char* begin, const char* end) {
        TrimRange(key_begin, key_end);
        if (key_begin == key_end) return;
        TrimRange(begin, end);
        if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
            ++begin;
            --end;
        }
        key_ = section_;
        AppendLower(key_, key_begin, key_end);
        values_.try_emplace(key_, begin, end);
    }

    std::unordered_map<std::string, std::string>& values_;
    std::string section_;  // lower-cased name followed by "\n"
    std::string key_;
    bool in_section_ = false;
};

}  // namespace

CIniFile::CIniFile(CString path) : m_path(std::move(path)) {}

CIniFile::~CIniFile() = default;

bool CIniFile::ReadFile() {
    std::string content;
    if (!ReadRegularFile(m_path, kMaxFileSize + 1, content) || content.size() > kMaxFileSize) {
        return false;
    }
    std::unordered_map<std::string, std::string> values;
    Parser(values).Parse(content);
    m_values.swap(values);
    return true;
}

CString CIniFile::GetValue(CString section, CString key) const {
    auto it = m_values.find(LookupKey(section, key));
    return it != m_values.end() ? CString(it->second) : CString();
}

int CIniFile::GetValueI(CString section, CString key) const {
    auto it = m_values.find(LookupKey(section, key));
    return it != m_values.end() ? AtoiText(it->second.c_str()) : 0;
}

bool CIniFile::HasSection(CString section) const {
    return m_values.count(LookupKey(section, CString())) != 0;
}
