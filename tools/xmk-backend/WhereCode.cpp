#include "WhereCode.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Words passed to SQL as they stand (compared without regard to case).
constexpr const char* kKeywords[] = {"AND", "OR", "NOT", "IS", "NULL", "LIKE", "IN", "BETWEEN"};
// Operators passed as they stand, longest first so that "<=" wins over "<".
constexpr const char* kOperators[] = {"<>", "!=", "<=", ">=", "=", "<", ">", "(", ")", ","};

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const char* Keyword(const std::string& word) {
    const std::string upper = Upper(word);
    for (const char* k : kKeywords) {
        if (upper == k) return k;
    }
    return nullptr;
}

}  // namespace

std::string WhereCode::MemberPath(const std::string& dataColumn, const std::string& name) {
    if (name.empty() || name.find_first_of("\"\\") != std::string::npos) return std::string();
    std::string path = "$.\"" + name + "\"";
    std::string quoted;
    for (char c : path) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return "json_extract(" + dataColumn + ",'" + quoted + "')";
}

bool WhereCode::Translate(const std::string& code, const std::string& dataColumn, std::string* sql,
                          std::vector<SqlValue>* params, std::string* error) {
    std::string out;
    int depth = 0;
    size_t i = 0;
    const size_t n = code.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(code[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        out += ' ';
        if (c == '\'' || c == '"') {
            // A string literal; the quote doubled inside stands for itself.
            std::string text;
            size_t j = i + 1;
            bool closed = false;
            while (j < n) {
                if (code[j] == static_cast<char>(c)) {
                    if (j + 1 < n && code[j + 1] == static_cast<char>(c)) {
                        text += code[j];
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                text += code[j++];
            }
            if (!closed) {
                *error = "unterminated text in the where-code";
                return false;
            }
            out += '?';
            params->push_back(SqlValue::Text(text));
            i = j + 1;
        } else if (std::isdigit(c) || ((c == '-' || c == '.') && i + 1 < n &&
                                       std::isdigit(static_cast<unsigned char>(code[i + 1])))) {
            size_t j = i + 1;
            bool real = c == '.';
            while (j < n && (std::isdigit(static_cast<unsigned char>(code[j])) || code[j] == '.')) {
                real = real || code[j] == '.';
                ++j;
            }
            const std::string number = code.substr(i, j - i);
            out += '?';
            params->push_back(real ? SqlValue::Real(std::strtod(number.c_str(), nullptr))
                                   : SqlValue::Integer(std::strtoll(number.c_str(), nullptr, 10)));
            i = j;
        } else if (IsNameStart(c)) {
            size_t j = i + 1;
            while (j < n && IsNameChar(static_cast<unsigned char>(code[j]))) ++j;
            const std::string word = code.substr(i, j - i);
            if (const char* keyword = Keyword(word)) {
                out += keyword;
            } else if (Upper(word) == "ID") {
                out += "id";
            } else {
                out += MemberPath(dataColumn, word);
            }
            i = j;
        } else {
            const char* op = nullptr;
            for (const char* o : kOperators) {
                if (code.compare(i, std::strlen(o), o) == 0) {
                    op = o;
                    break;
                }
            }
            if (!op) {
                *error = std::string("unexpected character in the where-code: ") + code[i];
                return false;
            }
            if (*op == '(') ++depth;
            if (*op == ')' && --depth < 0) {
                *error = "unbalanced parentheses in the where-code";
                return false;
            }
            out += op;
            i += std::strlen(op);
        }
    }
    if (depth != 0) {
        *error = "unbalanced parentheses in the where-code";
        return false;
    }
    if (out.empty()) {
        *error = "empty where-code";
        return false;
    }
    *sql += "(" + out + " )";
    return true;
}
