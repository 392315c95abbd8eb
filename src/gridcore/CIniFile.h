// CIniFile: reads a configuration file in the Windows profile format and answers look-ups
// by section and key. The file is read once, by ReadFile; look-ups never touch it again.
//
// Format:
//   [Section]      a section line; its name is what stands between "[" and the first "]"
//   key=value      a value line; it splits at the first "="
//   ; text, # text a comment (the first character of the line after leading blanks)
// - Blanks (space, tab, vertical tab, form feed) around section names, keys and values are
//   trimmed, then a pair of double quotes enclosing the whole value is removed ("a b" reads
//   as a b).
// - Section and key names match without regard to ASCII case; values keep their case.
// - The first of duplicate keys wins, also when a section is repeated further down.
// - Lines without "=", lines with an empty key and value lines before the first section
//   are ignored. CR and LF both end a line; a UTF-8 byte-order mark at the start is skipped.
//   There are no inline comments: "a=1 ; x" gives the value "1 ; x".
// Not thread-safe for ReadFile; concurrent look-ups on a loaded object are safe.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CIniFile {
  public:
    explicit CIniFile(CString path);
    virtual ~CIniFile();

    // Loads the file given to the constructor, replacing what an earlier call loaded. False
    // at once when it is not a regular file (a directory, a FIFO, a device) and when it is
    // missing, cannot be read or is over 256 MiB; the content loaded before is then kept.
    bool ReadFile();

    // The value of `key` in `section`, empty when absent.
    CString GetValue(CString section, CString key) const;
    // The value converted as atoi does: leading blanks, an optional sign, then digits up to
    // the first other character; 0 when absent or not a number. Out-of-range values saturate
    // at INT_MIN/INT_MAX.
    int GetValueI(CString section, CString key) const;
    // Whether the file has a line naming `section`, even with no value under it.
    bool HasSection(CString section) const;

  private:
    CString m_path;
    // Keyed by the lower-cased section name, "\n", the lower-cased key (neither can hold a
    // line end, so the join is unambiguous).
    std::unordered_map<std::string, std::string> m_values;
};
