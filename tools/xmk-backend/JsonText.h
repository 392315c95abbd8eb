// JsonText: reads documents of the library's lenient JSON dialect (bare or quoted names,
// either quote character, \" and \' escapes) and writes standard JSON, which is how the
// back-end stores records and answers. Stateless; safe from any thread.
#pragma once

#include <string>
#include <vector>

// One member of an object, its value in two forms.
struct JsonMember {
    std::string name;  // trimmed, quotes removed
    std::string raw;   // the value as written in the request, trimmed
    std::string json;  // the value as standard JSON
    std::string text;  // the value as plain text: a string's content, a number's digits,
                       // "1"/"0" for true/false, empty for null, the JSON of a container
    bool isString = false;
    bool isNumber = false;
};

class JsonText {
  public:
    // `text` quoted as a JSON string.
    static std::string Quote(const std::string& text);
    // True when `text` (surrounding blanks ignored) begins with "{" and ends with "}".
    static bool IsObject(const std::string& text);
    // The members of the object `text`, in order. Items without a name are left out.
    static std::vector<JsonMember> Members(const std::string& text);
    // The value of the first member named `name` of the object `text`; `found` (may be
    // null) tells whether there is one.
    static JsonMember Member(const std::string& text, const std::string& name, bool* found);
    // The object or array `text` written as standard JSON; anything else as a JSON value.
    static std::string ToStandard(const std::string& text);
    // An object of standard JSON made of `members`.
    static std::string ObjectOf(const std::vector<JsonMember>& members);
    // The elements of the array `text` (or the single value `text`), as plain texts.
    static std::vector<std::string> ArrayTexts(const std::string& text);
};
