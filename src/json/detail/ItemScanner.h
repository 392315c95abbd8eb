// Cuts the top-level items out of a document text without building anything: the byte-level
// scanner under CJosn. Internal to the library.
//
// An item starts at an index `begin` and ends (exclusive) at the first ",", "}" or "]" that is
// outside quotes and outside brackets opened within the item. A quote preceded by a backslash
// neither opens nor closes a string; inside a string only its own quote character counts.
// Only indexes below `bound` are examined (the document's last character never is).
#pragma once

#include <climits>
#include <vector>

namespace josn_detail {

// Closing-bracket table entry of an opening bracket that is not closed.
constexpr int kUnclosed = INT_MAX;

// The end of the item that starts at `begin`: the index of its separator, else `bound` when
// the item runs up to it, else `begin` (an empty item).
// REQUIRES: t[begin - 1] is readable when begin > 0; t[0, bound) is readable.
int ItemEnd(const char* t, int begin, int bound);

// Fills `closing` (entry i - from for index i) with the index of the bracket that closes each
// opening bracket of t[from, to), or kUnclosed. Other entries are unspecified.
// Because every item of every nesting level begins outside quotes, a scan of t[from, to) that
// starts outside quotes sees the same strings as the scan of any item inside it, so one table
// serves all levels.
void MatchBrackets(const char* t, int from, int to, std::vector<int>& closing);

// ItemEnd for an item inside t[from, to) of a MatchBrackets table (`closing`, built with the
// same `from`): nested containers are stepped over in one move.
int NestedItemEnd(const char* t, int begin, int bound, const std::vector<int>& closing, int from);

}  // namespace josn_detail
