#include "wirekit/detail/FastReplyScanner.h"

#include <array>
#include <climits>
#include <cstdint>
#include <string_view>

namespace wire_detail {
namespace {

// Limits far inside libxml2's own (256 elements open, names of 50000 bytes, attribute values,
// comments and CDATA sections of 10 MB), so that size never decides differently.
constexpr int kMaxDepth = 100;
constexpr size_t kMaxName = 1000;
constexpr size_t kMaxMarkup = 1 << 20;  // an attribute value, comment or CDATA section
constexpr size_t kMaxAttributes = 32;   // of one element, each compared with the others
constexpr size_t kMaxBindings = 64;     // namespace prefixes declared by the open elements

enum ByteClass : uint8_t {
    kChar = 1,        // an ASCII XML character
    kText = 2,        // character data that needs no second look
    kValue = 4,       // the same in a quoted value, quotes aside
    kSpace = 8,       // XML white space
    kNameStart = 16,  // the ASCII start of a name without a colon
    kName = 32,       // the ASCII rest of such a name
};

constexpr std::array<uint8_t, 256> kClasses = [] {
    std::array<uint8_t, 256> classes{};
    for (int ch = 0x20; ch < 0x80; ++ch) classes[ch] = kChar | kText | kValue;
    for (unsigned char ch : {'\t', '\n', '\r', ' '}) classes[ch] = kChar | kText | kValue | kSpace;
    classes['\r'] &= ~kText;
    for (unsigned char ch : {'<', '&', ']', '"', '\''}) classes[ch] = kChar;
    classes[']'] |= kValue;
    classes['"'] = classes['\''] |= kText;
    for (int ch = 0; ch < 26; ++ch) {
        classes['a' + ch] |= kNameStart | kName;
        classes['A' + ch] |= kNameStart | kName;
    }
    for (int ch = '0'; ch <= '9'; ++ch) classes[ch] |= kName;
    for (unsigned char ch : {'_', '.', '-'}) classes[ch] |= kName;
    classes['_'] |= kNameStart;
    return classes;
}();

bool Is(char ch, ByteClass byteClass) {
    return (kClasses[static_cast<unsigned char>(ch)] & byteClass) != 0;
}

// The length of the UTF-8 sequence at `at` when it is well formed and an XML character
// (no surrogate, U+FFFE or U+FFFF), else 0.
size_t CharLength(const char* at, const char* end) {
    const auto* p = reinterpret_cast<const unsigned char*>(at);
    const size_t left = static_cast<size_t>(end - at);
    auto follows = [&](size_t count) {
        if (left <= count) return false;
        for (size_t i = 1; i <= count; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
        }
        return true;
    };
    if (p[0] >= 0xC2 && p[0] <= 0xDF) return follows(1) ? 2 : 0;
    if (p[0] >= 0xE0 && p[0] <= 0xEF && follows(2)) {
        const unsigned code = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
        return code >= 0x800 && (code < 0xD800 || code > 0xDFFF) && code < 0xFFFE ? 3 : 0;
    }
    if (p[0] >= 0xF0 && p[0] <= 0xF4 && follows(3)) {
        const unsigned code =
            (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
        return code >= 0x10000 && code <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

bool IsXmlChar(unsigned code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// `code` in UTF-8 at `out`; returns the length.
size_t EncodeUtf8(unsigned code, char* out) {
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    for (size_t i = length - 1; i > 0; --i, code >>= 6)
        out[i] = static_cast<char>(0x80 | (code & 0x3F));
    out[0] = static_cast<char>((0xF00 >> length) | code);
    return length;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (ch != lower[i]) return false;
    }
    return true;
}

// True when the reader would take the body as UTF-8 for want of a declared encoding: the
// header names no charset, an empty one or UTF-8. The reader takes the value after the first
// "charset=" in any case, up to a separator, with quotes dropped.
bool HeaderMeansUtf8(const std::string& contentType) {
    const std::string_view header(contentType);
    size_t at = 0;
    while (at + 8 <= header.size() && !EqualsIgnoringCase(header.substr(at, 8), "charset=")) ++at;
    if (at + 8 > header.size()) return true;
    std::string value;
    for (char ch : header.substr(at + 8)) {
        if (ch == ';' || ch == ' ' || ch == '\t' || value.size() > 5) break;
        if (ch != '"' && ch != '\'') value.push_back(ch);
    }
    return value.empty() || EqualsIgnoringCase(value, "utf-8");
}

// Which parts of the reply each element stands for, by the reader's rules: depth 1 is the
// root, 2 the Body, 3 the Fault, 4 the fault's texts; the result is any element below the
// Body outside a Fault. Names are given as the reader compares them: the local name when the
// prefix is bound to a namespace, else the whole name.
class Judge {
  public:
    Judge(const std::string& resultName, SoapReplyParts* parts)
        : resultName_(resultName.c_str()), parts_(*parts) {}

    void Start(std::string_view name) {
        ++depth_;
        if (depth_ == 1) {
            envelope_ = name == "Envelope";
        } else if (depth_ == 2) {
            if (envelope_ && !bodySeen_ && name == "Body") bodySeen_ = inBody_ = true;
        } else if (!inBody_) {
            return;
        } else if (depth_ == 3 && !parts_.fault && name == "Fault") {
            parts_.fault = inFault_ = true;
            parts_.result.clear();
        } else if (depth_ == 4 && inFault_ && !faultStringSeen_ && name == "faultstring") {
            faultStringSeen_ = true;
            Gather(&parts_.faultString);
        } else if (depth_ == 4 && inFault_ && !faultCodeSeen_ && name == "faultcode") {
            faultCodeSeen_ = true;
            Gather(&parts_.faultCode);
        } else if (!parts_.fault && !resultSeen_ && name == resultName_) {
            resultSeen_ = true;
            Gather(&parts_.result);
        }
    }

    void End() {
        if (text_ != nullptr && depth_ == textDepth_) text_ = nullptr;
        if (depth_ == 3) inFault_ = false;
        if (depth_ == 2) inBody_ = false;
        --depth_;
    }

    void Text(const char* text, size_t length) {
        if (text_ != nullptr) text_->append(text, length);
    }

    int Depth() const { return depth_; }
    bool Whole() const { return envelope_ && bodySeen_; }

  private:
    void Gather(std::string* text) {
        text_ = text;
        textDepth_ = depth_;
    }

    const std::string_view resultName_;  // as a C string: the reader stops at a NUL
    SoapReplyParts& parts_;
    int depth_ = 0;
    bool envelope_ = false;
    bool bodySeen_ = false;
    bool inBody_ = false;
    bool inFault_ = false;
    bool faultStringSeen_ = false;
    bool faultCodeSeen_ = false;
    bool resultSeen_ = false;
    std::string* text_ = nullptr;
    int textDepth_ = 0;
};

// One pass over the body. Every member that returns bool returns false to decline.
class Scanner {
  public:
    Scanner(const std::string& body, const std::string& resultName, SoapReplyParts* parts)
        : at_(body.data()), end_(body.data() + body.size()), judge_(resultName, parts) {}

    bool Read(const std::string& contentType) {
        bool declared = false;
        if (Prolog(&declared) && (declared || HeaderMeansUtf8(contentType)) && Root() && Misc()) {
            return at_ == end_ && judge_.Whole();
        }
        return false;
    }

  private:
    struct Name {
        std::string_view whole;
        size_t colon = 0;  // 0 without a prefix
        std::string_view Prefix() const { return whole.substr(0, colon); }
    };

    struct Open {
        std::string_view name;
        size_t bindings;  // the prefixes declared before it
    };

    bool Take(std::string_view text) {
        if (static_cast<size_t>(end_ - at_) < text.size() ||
            std::string_view(at_, text.size()) != text) {
            return false;
        }
        at_ += text.size();
        return true;
    }

    bool Space() {
        const char* start = at_;
        while (at_ != end_ && Is(*at_, kSpace)) ++at_;
        return at_ != start;
    }

    // A name of ASCII letters, digits and . - _ with at most one colon inside.
    bool TakeName(Name* name) {
        const char* start = at_;
        for (int part = 0; part < 2; ++part) {
            if (at_ == end_ || !Is(*at_, kNameStart)) return false;
            while (at_ != end_ && Is(*at_, kName)) ++at_;
            if (part == 1 || at_ == end_ || *at_ != ':') break;
            name->colon = static_cast<size_t>(at_++ - start);
        }
        name->whole = std::string_view(start, static_cast<size_t>(at_ - start));
        return name->whole.size() <= kMaxName && (at_ == end_ || *at_ != ':');
    }

    // A quoted value free of '<' and references, for the XML declaration and attributes.
    bool TakeValue(std::string_view* value) {
        if (at_ == end_ || (*at_ != '"' && *at_ != '\'')) return false;
        const char quote = *at_++;
        const char* start = at_;
        while (at_ != end_ && *at_ != quote) {
            if (Is(*at_, kValue) || *at_ == '"' || *at_ == '\'') {
                ++at_;
            } else if (const size_t length = CharLength(at_, end_)) {
                at_ += length;
            } else {
                return false;
            }
        }
        if (at_ == end_ || static_cast<size_t>(at_ - start) > kMaxMarkup) return false;
        *value = std::string_view(start, static_cast<size_t>(at_++ - start));
        return true;
    }

    bool Equals() {
        Space();
        if (!Take("=")) return false;
        Space();
        return true;
    }

    // An optional XML declaration of version 1.0, then comments and blanks up to the root.
    // `declared` tells whether the declaration names an encoding, which must then be UTF-8.
    bool Prolog(bool* declared) {
        std::string_view value;
        if (end_ - at_ > 5 && std::string_view(at_, 5) == "<?xml" && Is(at_[5], kSpace)) {
            at_ += 5;
            Space();
            if (!Take("version") || !Equals() || !TakeValue(&value) || value != "1.0") return false;
            bool spaced = Space();
            if (spaced && Take("encoding")) {
                if (!Equals() || !TakeValue(&value) || !EqualsIgnoringCase(value, "utf-8")) {
                    return false;
                }
                *declared = true;
                spaced = Space();
            }
            if (spaced && Take("standalone")) {
                if (!Equals() || !TakeValue(&value) || (value != "yes" && value != "no")) {
                    return false;
                }
                Space();
            }
            if (!Take("?>")) return false;
        } else if (at_ != end_ && *at_ == '<' && end_ - at_ > 1 && at_[1] == '?') {
            return false;
        }
        return Misc() && end_ - at_ > 1 && *at_ == '<' && Is(at_[1], kNameStart);
    }

    // Blanks and comments, as may stand before and after the root.
    bool Misc() {
        while (Space() || StartsComment()) {
            if (StartsComment() && !Comment()) return false;
        }
        return true;
    }

    bool StartsComment() const { return end_ - at_ >= 4 && std::string_view(at_, 4) == "<!--"; }

    // A comment, from its "<!--": its text may hold no "--" and must be characters.
    bool Comment() {
        at_ += 4;
        const char* start = at_;
        while (at_ != end_ && static_cast<size_t>(at_ - start) <= kMaxMarkup) {
            if (*at_ == '-' && end_ - at_ > 1 && at_[1] == '-') return Take("-->");
            if (Is(*at_, kChar)) {
                ++at_;
            } else if (const size_t length = CharLength(at_, end_)) {
                at_ += length;
            } else {
                return false;
            }
        }
        return false;
    }

    // The root element and all it holds.
    bool Root() {
        do {
            if (at_ == end_) return false;
            bool read = *at_ == '<' ? Markup() : *at_ == '&' ? Reference() : Text();
            if (!read) return false;
        } while (judge_.Depth() > 0);
        return true;
    }

    bool Markup() {
        ++at_;
        if (at_ == end_) return false;
        if (*at_ == '/') return EndTag();
        if (*at_ != '!') return StartTag();
        --at_;
        if (StartsComment()) return Comment();
        return Take("<![CDATA[") && Cdata();
    }

    bool StartTag() {
        Name name;
        if (judge_.Depth() == kMaxDepth || !TakeName(&name)) return false;
        const size_t bindings = bindingCount_;
        std::array<std::string_view, kMaxAttributes> attributes;
        size_t count = 0;
        bool empty = false;
        while (true) {
            const bool spaced = Space();
            if (Take(">")) break;
            if (Take("/>")) {
                empty = true;
                break;
            }
            Name attribute;
            std::string_view value;
            if (!spaced || count == kMaxAttributes || !TakeName(&attribute) || !Equals() ||
                !TakeValue(&value)) {
                return false;
            }
            for (size_t i = 0; i < count; ++i) {
                if (attributes[i] == attribute.whole) return false;
            }
            attributes[count++] = attribute.whole;
            if (!Bind(attribute, value)) return false;
        }
        std::string_view compared = name.whole;
        if (name.colon != 0) {
            const std::string_view prefix = name.Prefix();
            if (prefix == "xml" || prefix == "xmlns") return false;
            for (size_t i = bindingCount_; i-- > 0;) {
                if (bindings_[i] == prefix) {
                    compared = name.whole.substr(name.colon + 1);
                    break;
                }
            }
        }
        judge_.Start(compared);
        if (empty) {
            judge_.End();
            bindingCount_ = bindings;
        } else {
            open_[judge_.Depth() - 1] = {name.whole, bindings};
        }
        return true;
    }

    // Records the prefix a namespace declaration binds. Declarations libxml2 would refuse to
    // bind (the reserved prefixes and namespaces, an empty namespace) are declined.
    bool Bind(const Name& attribute, std::string_view value) {
        const bool prefixed = attribute.Prefix() == "xmlns";
        if (!prefixed && attribute.whole != "xmlns") return true;
        if (value == "http://www.w3.org/XML/1998/namespace" ||
            value == "http://www.w3.org/2000/xmlns/") {
            return false;
        }
        if (!prefixed) return true;
        const std::string_view prefix = attribute.whole.substr(attribute.colon + 1);
        if (value.empty() || prefix == "xml" || prefix == "xmlns" ||
            bindingCount_ == kMaxBindings) {
            return false;
        }
        bindings_[bindingCount_++] = prefix;
        return true;
    }

    bool EndTag() {
        ++at_;
        Name name;
        if (!TakeName(&name)) return false;
        Space();
        const Open& open = open_[judge_.Depth() - 1];
        if (!Take(">") || name.whole != open.name) return false;
        bindingCount_ = open.bindings;
        judge_.End();
        return true;
    }

    // Character data up to the next markup or reference. libxml2 turns CR LF and a lone CR
    // into LF and refuses "]]>".
    bool Text() {
        const char* run = at_;
        while (at_ != end_) {
            if (Is(*at_, kText)) {
                ++at_;
            } else if (*at_ == ']') {
                if (end_ - at_ > 2 && at_[1] == ']' && at_[2] == '>') return false;
                ++at_;
            } else if (*at_ == '\r') {
                judge_.Text(run, static_cast<size_t>(at_ - run));
                judge_.Text("\n", 1);
                at_ += end_ - at_ > 1 && at_[1] == '\n' ? 2 : 1;
                run = at_;
            } else if (const size_t length = CharLength(at_, end_)) {
                at_ += length;
            } else {
                break;
            }
        }
        judge_.Text(run, static_cast<size_t>(at_ - run));
        return at_ == end_ || *at_ == '<' || *at_ == '&';
    }

    // A CDATA section after its "<![CDATA[": its text as it stands, line ends aside.
    bool Cdata() {
        const char* start = at_;
        const char* run = at_;
        while (at_ != end_ && static_cast<size_t>(at_ - start) <= kMaxMarkup) {
            if (*at_ == ']' && end_ - at_ > 2 && at_[1] == ']' && at_[2] == '>') {
                judge_.Text(run, static_cast<size_t>(at_ - run));
                at_ += 3;
                return true;
            }
            if (*at_ == '\r') {
                judge_.Text(run, static_cast<size_t>(at_ - run));
                judge_.Text("\n", 1);
                at_ += end_ - at_ > 1 && at_[1] == '\n' ? 2 : 1;
                run = at_;
            } else if (Is(*at_, kChar)) {
                ++at_;
            } else if (const size_t length = CharLength(at_, end_)) {
                at_ += length;
            } else {
                return false;
            }
        }
        return false;
    }

    // A predefined entity or a character reference, given as the character it stands for.
    bool Reference() {
        static constexpr std::pair<std::string_view, char> kEntities[] = {
            {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}};
        for (const auto& [entity, ch] : kEntities) {
            if (Take(entity)) {
                judge_.Text(&ch, 1);
                return true;
            }
        }
        const bool hex = Take("&#x");
        if (!hex && !Take("&#")) return false;
        unsigned code = 0;
        size_t digits = 0;
        for (; at_ != end_ && digits <= 7; ++at_, ++digits) {
            const char ch = *at_;
            if (ch >= '0' && ch <= '9') {
                code = code * (hex ? 16 : 10) + static_cast<unsigned>(ch - '0');
            } else if (hex && ((ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'))) {
                code = code * 16 + static_cast<unsigned>((ch | 0x20) - 'a' + 10);
            } else {
                break;
            }
        }
        if (digits == 0 || digits > 7 || !Take(";") || !IsXmlChar(code)) return false;
        char utf8[4];
        judge_.Text(utf8, EncodeUtf8(code, utf8));
        return true;
    }

    const char* at_;
    const char* const end_;
    Judge judge_;
    std::array<Open, kMaxDepth> open_;
    std::array<std::string_view, kMaxBindings> bindings_;
    size_t bindingCount_ = 0;
};

}  // namespace

bool ReadSoapReplyQuickly(const std::string& contentType, const std::string& body,
                          const std::string& resultName, SoapReplyParts* parts) {
    if (body.size() > static_cast<size_t>(INT_MAX)) return false;
    return Scanner(body, resultName, parts).Read(contentType);
}

}  // namespace wire_detail
