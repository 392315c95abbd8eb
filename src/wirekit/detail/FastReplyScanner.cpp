#include "wirekit/detail/FastReplyScanner.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace wire_detail {
namespace {

// Limits far inside libxml2's own (256 elements open, names of 50000 bytes, attribute values,
// comments and CDATA sections of 10 MB), so that size never decides differently.
constexpr int kMaxDepth = 100;
constexpr size_t kMaxName = 1000;
constexpr size_t kMaxMarkup = 1 << 20;  // an attribute value, comment or CDATA section
constexpr size_t kMaxAttributes = 32;   // of one element, each compared with the others
constexpr size_t kMaxBindings = 64;
// Each element names at most two things (prefix, local name) and each attribute three (prefix,
// local name, namespace URI): a reply within this budget never passes the reader's bound on
// distinct names, so the two readings cannot part over it.
constexpr size_t kNameBudget =
    kMaxReplyNames - 10;  // namespace prefixes declared by the open elements

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

// The first byte from `at` on that is not of `byteClass`. The scanner steps through a local
// pointer like this one: a byte read could alias its own member, which would then be written
// back and read again at every step.
const char* Over(const char* at, ByteClass byteClass) {
    while (Is(*at, byteClass)) ++at;
    return at;
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

// The text of the element being gathered, written a byte at a time through `out` into a
// string made as long as the rest of the body, which no text inside can outgrow, and cut to
// length when the element ends.
struct Sink {
    std::string* text = nullptr;
    char* out = nullptr;  // nullptr while no text is gathered

    void Open(std::string* target, size_t room) {
        text = target;
        const size_t at = text->size();
        text->resize(at + room);
        out = &(*text)[at];
    }

    void Close() {
        if (text == nullptr) return;
        text->resize(static_cast<size_t>(out - text->data()));
        if (text->capacity() > 2 * text->size() + 4096) text->shrink_to_fit();
        text = nullptr;
        out = nullptr;
    }

    void Put(const char* data, size_t length) {
        if (out == nullptr) return;
        std::memcpy(out, data, length);
        out += length;
    }
};

// Which parts of the reply each element stands for, by the reader's rules: depth 1 is the
// root, 2 the Body, 3 the Fault, 4 the fault's texts; the result is any element below the
// Body outside a Fault. Names are given as the reader compares them: the local name when the
// prefix is bound to a namespace, else the whole name.
class Judge {
  public:
    Judge(const std::string& resultName, SoapReplyParts* parts, Sink* sink)
        : resultName_(resultName.c_str()), parts_(*parts), sink_(*sink) {}

    // `left`: the bytes of the body after the start tag, more than any text inside can take.
    void Start(std::string_view name, size_t left) {
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
            Gather(&parts_.faultString, left);
        } else if (depth_ == 4 && inFault_ && !faultCodeSeen_ && name == "faultcode") {
            faultCodeSeen_ = true;
            Gather(&parts_.faultCode, left);
        } else if (!parts_.fault && !resultSeen_ && name == resultName_) {
            resultSeen_ = true;
            Gather(&parts_.result, left);
        }
    }

    void End() {
        if (depth_ == textDepth_) {
            sink_.Close();
            textDepth_ = 0;
        }
        if (depth_ == 3) inFault_ = false;
        if (depth_ == 2) inBody_ = false;
        --depth_;
    }

    int Depth() const { return depth_; }
    bool Whole() const { return envelope_ && bodySeen_; }

  private:
    void Gather(std::string* text, size_t left) {
        sink_.Open(text, left);
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
    Sink& sink_;
    int textDepth_ = 0;  // of the element whose text is gathered; 0 for none
};

// One pass over the body. Every member that returns bool returns false to decline. The body is
// a std::string, so a NUL follows its last byte; no byte class holds NUL, so a loop over a
// class stops at the end of the body without a check of its own.
class Scanner {
  public:
    Scanner(const std::string& body, const std::string& resultName, SoapReplyParts* parts)
        : at_(body.c_str()), end_(body.c_str() + body.size()), judge_(resultName, parts, &sink_) {}

    bool Read(const std::string& contentType) {
        bool declared = false;
        if (Prolog(&declared) && (declared || HeaderMeansUtf8(contentType)) && Root() && Misc()) {
            return at_ == end_ && judge_.Whole();
        }
        return false;
    }

  private:
    // Plain spans rather than string_views, so that the arrays of them need no setting up.
    struct Span {
        const char* data;
        size_t size;
        std::string_view View() const { return std::string_view(data, size); }
    };

    struct Name {
        Span whole;
        size_t colon;  // 0 without a prefix
        std::string_view Prefix() const { return std::string_view(whole.data, colon); }
        std::string_view Local() const { return whole.View().substr(colon == 0 ? 0 : colon + 1); }
    };

    struct Open {
        Span name;
        size_t bindings;  // the prefixes declared before it
    };

    size_t Left() const { return static_cast<size_t>(end_ - at_); }

    bool Next(char ch) const { return at_ != end_ && *at_ == ch; }

    template <size_t N>
    bool Ahead(const char (&text)[N]) const {
        return Left() >= N - 1 && std::memcmp(at_, text, N - 1) == 0;
    }

    template <size_t N>
    bool Take(const char (&text)[N]) {
        if (!Ahead(text)) return false;
        at_ += N - 1;
        return true;
    }

    bool Space() {
        const char* start = at_;
        at_ = Over(at_, kSpace);
        return at_ != start;
    }

    // A name of ASCII letters, digits and . - _ with at most one colon inside.
    bool TakeName(Name* name) {
        const char* start = at_;
        name->colon = 0;
        if (!Is(*at_, kNameStart)) return false;
        at_ = Over(at_ + 1, kName);
        if (*at_ == ':') {
            name->colon = static_cast<size_t>(at_ - start);
            if (!Is(*++at_, kNameStart)) return false;
            at_ = Over(at_ + 1, kName);
        }
        name->whole = {start, static_cast<size_t>(at_ - start)};
        return name->whole.size <= kMaxName && *at_ != ':';
    }

    // A quoted value free of '<' and references, for the XML declaration and attributes.
    bool TakeValue(Span* value) {
        if (!Next('"') && !Next('\'')) return false;
        const char quote = *at_++;
        const char* start = at_;
        while (true) {
            at_ = Over(at_, kValue);
            if (at_ == end_) return false;
            if (*at_ == quote) break;
            if (*at_ == '<' || *at_ == '&' || !SkipChar()) return false;
        }
        *value = {start, static_cast<size_t>(at_++ - start)};
        return value->size <= kMaxMarkup;
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
        Span value;
        if (Ahead("<?xml") && Is(at_[5], kSpace)) {
            at_ += 5;
            Space();
            if (!Take("version") || !Equals() || !TakeValue(&value) || value.View() != "1.0") {
                return false;
            }
            bool spaced = Space();
            if (spaced && Take("encoding")) {
                if (!Equals() || !TakeValue(&value) || !EqualsIgnoringCase(value.View(), "utf-8")) {
                    return false;
                }
                *declared = true;
                spaced = Space();
            }
            if (spaced && Take("standalone")) {
                if (!Equals() || !TakeValue(&value) ||
                    (value.View() != "yes" && value.View() != "no")) {
                    return false;
                }
                Space();
            }
            if (!Take("?>")) return false;
        } else if (Ahead("<?")) {
            return false;
        }
        return Misc() && Next('<') && Is(at_[1], kNameStart);
    }

    // Blanks and comments, as may stand before and after the root.
    bool Misc() {
        while (Space() || Ahead("<!--")) {
            if (Ahead("<!--") && !Comment()) return false;
        }
        return true;
    }

    // A comment, from its "<!--": its text may hold no "--" and must be characters.
    bool Comment() {
        at_ += 4;
        const char* start = at_;
        while (at_ != end_ && static_cast<size_t>(at_ - start) <= kMaxMarkup) {
            if (Ahead("--")) return Take("-->");
            if (!SkipChar()) return false;
        }
        return false;
    }

    // Steps over one character, ASCII or not; false when none stands here.
    bool SkipChar() {
        if (Is(*at_, kChar)) {
            ++at_;
            return true;
        }
        const size_t length = CharLength(at_, end_);
        at_ += length;
        return length != 0;
    }

    // The root element and all it holds.
    bool Root() {
        do {
            const bool read = *at_ == '<'            ? Markup()
                              : *at_ == '&'          ? Reference()
                              : sink_.out != nullptr ? Text<true>()
                                                     : Text<false>();
            if (!read) return false;
        } while (judge_.Depth() > 0);
        return true;
    }

    bool Markup() {
        ++at_;
        if (*at_ == '/') return EndTag();
        if (*at_ != '!') return StartTag();
        --at_;
        if (Ahead("<!--")) return Comment();
        return Take("<![CDATA[") && Cdata();
    }

    // Takes `names` from the budget; false once it is spent.
    bool Spend(size_t names) {
        if (names > namesLeft_) return false;
        namesLeft_ -= names;
        return true;
    }

    bool StartTag() {
        Name name;
        if (judge_.Depth() == kMaxDepth || !Spend(2) || !TakeName(&name)) return false;
        const size_t bindings = bindingCount_;
        Span attributes[kMaxAttributes];
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
            Span value;
            if (!spaced || count == kMaxAttributes || !Spend(3) || !TakeName(&attribute) ||
                !Equals() || !TakeValue(&value)) {
                return false;
            }
            for (size_t i = 0; i < count; ++i) {
                if (attributes[i].View() == attribute.whole.View()) return false;
            }
            attributes[count++] = attribute.whole;
            if (!Bind(attribute, value.View())) return false;
        }
        std::string_view compared = name.whole.View();
        if (name.colon != 0) {
            const std::string_view prefix = name.Prefix();
            if (prefix == "xml" || prefix == "xmlns") return false;
            for (size_t i = bindingCount_; i-- > 0;) {
                if (bindings_[i].View() == prefix) {
                    compared = name.Local();
                    break;
                }
            }
        }
        judge_.Start(compared, Left());
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
        if (!prefixed && attribute.whole.View() != "xmlns") return true;
        if (value == "http://www.w3.org/XML/1998/namespace" ||
            value == "http://www.w3.org/2000/xmlns/") {
            return false;
        }
        if (!prefixed) return true;
        const std::string_view prefix = attribute.Local();
        if (value.empty() || prefix == "xml" || prefix == "xmlns" ||
            bindingCount_ == kMaxBindings) {
            return false;
        }
        bindings_[bindingCount_++] = {prefix.data(), prefix.size()};
        return true;
    }

    // An end tag must repeat the open element's name exactly.
    bool EndTag() {
        ++at_;
        const Open& open = open_[judge_.Depth() - 1];
        if (Left() < open.name.size || std::memcmp(at_, open.name.data, open.name.size) != 0) {
            return false;
        }
        at_ += open.name.size;
        Space();
        if (!Take(">")) return false;
        bindingCount_ = open.bindings;
        judge_.End();
        return true;
    }

    // Character data up to the next markup or reference, copied as it is read when `gather`.
    // libxml2 turns CR LF and a lone CR into LF and refuses "]]>".
    template <bool gather>
    bool Text() {
        char* out = sink_.out;
        while (true) {
            const char* at = at_;
            while (Is(*at, kText)) {
                if constexpr (gather) *out++ = *at;
                ++at;
            }
            at_ = at;
            size_t length = 1;
            if (*at_ == ']') {
                if (Ahead("]]>")) return false;
            } else if (*at_ == '\r') {
                length = Ahead("\r\n") ? 2 : 1;
                if constexpr (gather) *out++ = '\n';
                at_ += length;
                continue;
            } else if (static_cast<unsigned char>(*at_) < 0x80 ||
                       (length = CharLength(at_, end_)) == 0) {
                break;
            }
            for (const char* end = at_ + length; at_ != end; ++at_) {
                if constexpr (gather) *out++ = *at_;
            }
        }
        sink_.out = out;
        return Next('<') || Next('&');
    }

    // A CDATA section after its "<![CDATA[": its text as it stands, line ends aside.
    bool Cdata() {
        const char* start = at_;
        const char* run = at_;
        while (at_ != end_ && static_cast<size_t>(at_ - start) <= kMaxMarkup) {
            if (Ahead("]]>")) {
                sink_.Put(run, static_cast<size_t>(at_ - run));
                at_ += 3;
                return true;
            }
            if (*at_ == '\r') {
                sink_.Put(run, static_cast<size_t>(at_ - run));
                sink_.Put("\n", 1);
                at_ += Ahead("\r\n") ? 2 : 1;
                run = at_;
            } else if (!SkipChar()) {
                return false;
            }
        }
        return false;
    }

    // A predefined entity or a character reference, given as the character it stands for.
    bool Reference() {
        char ch = 0;
        switch (at_[1]) {
            case 'l':
                ch = Take("&lt;") ? '<' : 0;
                break;
            case 'g':
                ch = Take("&gt;") ? '>' : 0;
                break;
            case 'a':
                ch = Take("&amp;") ? '&' : Take("&apos;") ? '\'' : 0;
                break;
            case 'q':
                ch = Take("&quot;") ? '"' : 0;
                break;
            case '#':
                return CharacterReference();
        }
        if (ch == 0) return false;
        sink_.Put(&ch, 1);
        return true;
    }

    bool CharacterReference() {
        const bool hex = Take("&#x");
        if (!hex) at_ += 2;
        unsigned code = 0;
        size_t digits = 0;
        for (; digits <= 7; ++at_, ++digits) {
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
        sink_.Put(utf8, EncodeUtf8(code, utf8));
        return true;
    }

    const char* at_;
    const char* const end_;
    Sink sink_;
    Judge judge_;
    Open open_[kMaxDepth];
    Span bindings_[kMaxBindings];
    size_t bindingCount_ = 0;
    size_t namesLeft_ = kNameBudget;
};

}  // namespace

bool ReadSoapReplyQuickly(const std::string& contentType, const std::string& body,
                          const std::string& resultName, SoapReplyParts* parts) {
    if (body.size() > static_cast<size_t>(INT_MAX)) return false;  // ReadSoapReplyParts refuses it
    return Scanner(body, resultName, parts).Read(contentType);
}

}  // namespace wire_detail
