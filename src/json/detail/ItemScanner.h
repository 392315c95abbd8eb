// Cuts the top-level items out of a document text without building anything: the byte-level
// scanner under CJosn. Internal to the library.
//
// An item starts at an index `begin` and ends (exclusive) at the first ",", "}" or "]" that is
// outside quotes and outside brackets opened within the item. A quote preceded by a backslash
// neither opens nor closes a string; inside a string only its own quote character counts.
// Only indexes below `bound` are examined (the document's last character never is).
#pragma once

#include <climits>
#include <utility>
#include <vector>

namespace josn_detail {

// The index of the first `c` in t[begin, end), or -1.
// REQUIRES: t[begin, readable) may be read, with readable >= end.
int FindByte(const char* t, int begin, int end, int readable, char c);

// Closing-bracket table entry of an opening bracket that is not closed.
constexpr int kUnclosed = INT_MAX;

// Appends to `items` the items of t cut one after another from `begin`, each as its first index
// and its end (the index of its separator, or `bound` when it runs up to it), until an empty
// item: one that ends where it starts, or starts at or past `bound`. Returns false when none of
// the items holds a backslash (true may also come without one).
// REQUIRES: t[begin - 1] is readable when begin > 0; t[0, bound) is readable.
bool CutItems(const char* t, int begin, int bound, std::vector<std::pair<int, int>>& items);

// Fills `closing` (entry i - from for index i) with the index of the bracket that closes each
// opening bracket of t[from, to), or kUnclosed. Other entries are unspecified.
// Because every item of every nesting level begins outside quotes, a scan of t[from, to) that
// starts outside quotes sees the same strings as the scan of any item inside it, so one table
// serves all levels.
void MatchBrackets(const char* t, int from, int to, std::vector<int>& closing);

// The end of one item inside t[from, to) of a MatchBrackets table (`closing`, built with the
// same `from`): nested containers are stepped over in one move.
int NestedItemEnd(const char* t, int begin, int bound, const std::vector<int>& closing, int from);

}  // namespace josn_detail
