#include "json/detail/ItemScanner.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace josn_detail {
namespace {

// What the scanner does with a byte; every other byte is skipped.
enum ByteClass : unsigned char { kPlain, kQuote, kOpen, kClose, kComma };

struct ByteClassTable {
    unsigned char of[256];
    constexpr ByteClassTable() : of() {
        of[static_cast<unsigned char>('\'')] = kQuote;
        of[static_cast<unsigned char>('"')] = kQuote;
        of[static_cast<unsigned char>('{')] = kOpen;
        of[static_cast<unsigned char>('[')] = kOpen;
        of[static_cast<unsigned char>('}')] = kClose;
        of[static_cast<unsigned char>(']')] = kClose;
        of[static_cast<unsigned char>(',')] = kComma;
    }
};
constexpr ByteClassTable kClasses;

ByteClass ClassOf(char c) {
    return static_cast<ByteClass>(kClasses.of[static_cast<unsigned char>(c)]);
}

// Where a scan of blocks stands between them.
struct ScanState {
    char quote = 0;  // the quote character of the string being read; 0 outside strings
    int depth = 0;   // brackets opened within the item and not closed yet
};

// The index just after the closing `quote` of a string being read from `from`: the first
// such quote not preceded by a backslash, or `bound` when none comes before it.
// REQUIRES: from > 0.
int SkipQuoted(const char* t, int from, int bound, char quote) {
    while (from < bound) {
        const void* hit = std::memchr(t + from, quote, static_cast<size_t>(bound - from));
        if (hit == nullptr) return bound;
        const int at = static_cast<int>(static_cast<const char*>(hit) - t);
        if (t[at - 1] != '\\') return at + 1;
        from = at + 1;
    }
    return bound;
}

// Byte by byte from the start `i` of an item: the index of its separator, or `bound`. With a
// bracket table, nested containers are stepped over instead of counted.
int ScanBytes(const char* t, int i, int bound, const int* closing, int from) {
    int depth = 0;
    while (i < bound) {
        const char c = t[i];
        switch (ClassOf(c)) {
            case kPlain:
                ++i;
                while (i < bound && ClassOf(t[i]) == kPlain) ++i;
                break;
            case kQuote:
                i = (i == 0 || t[i - 1] == '\\') ? i + 1 : SkipQuoted(t, i + 1, bound, c);
                break;
            case kComma:
                if (depth == 0) return i;
                ++i;
                break;
            case kClose:
                if (depth == 0) return i;
                --depth;
                ++i;
                break;
            case kOpen:
                if (closing == nullptr) {
                    ++depth;
                    ++i;
                } else {
                    const int close = closing[i - from];
                    if (close >= bound) return bound;
                    i = close + 1;
                }
                break;
        }
    }
    return bound;
}

#if defined(__SSE2__)

// One bit per byte of a 64-byte block, for each kind of byte the scanner looks at.
struct BlockMasks {
    uint64_t doubleQuote, singleQuote, backslash, open, close, comma;
};

uint64_t Matches(__m128i bytes, char c) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
}

BlockMasks Classify(const char* p) {
    BlockMasks m = {};
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        // "{" and "[" differ only in the bit 0x20, and so do "}" and "]".
        const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
        const int shift = 16 * k;
        m.doubleQuote |= Matches(bytes, '"') << shift;
        m.singleQuote |= Matches(bytes, '\'') << shift;
        m.backslash |= Matches(bytes, '\\') << shift;
        m.open |= Matches(folded, '{') << shift;
        m.close |= Matches(folded, '}') << shift;
        m.comma |= Matches(bytes, ',') << shift;
    }
    return m;
}

// Bit i of the result is the parity of bits 0 to i of x.
uint64_t PrefixXor(uint64_t x) {
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

// Bits first to last, inclusive.
uint64_t BitRange(int first, int last) {
    const uint64_t upTo = last == 63 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
    return upTo & ~((uint64_t{1} << first) - 1);
}

// The bytes of the block that lie inside strings, given the quotes that count (not escaped);
// `quote` is the string open at the start of the block and becomes the one open at its end.
// Only separators and brackets are tested against the result, so whether the quotes
// themselves are inside does not matter.
uint64_t InsideStrings(uint64_t doubleQuotes, uint64_t singleQuotes, char& quote) {
    // With one kind of quote in play, strings run between alternate quotes.
    if (singleQuotes == 0 && quote != '\'') {
        const uint64_t inside = PrefixXor(doubleQuotes) ^ (quote == '"' ? ~uint64_t{0} : 0);
        quote = (inside >> 63) != 0 ? '"' : 0;
        return inside;
    }
    if (doubleQuotes == 0 && quote != '"') {
        const uint64_t inside = PrefixXor(singleQuotes) ^ (quote == '\'' ? ~uint64_t{0} : 0);
        quote = (inside >> 63) != 0 ? '\'' : 0;
        return inside;
    }
    // Both kinds: inside a string the other kind is plain text, so take the quotes in order.
    uint64_t inside = 0;
    int openedAt = 0;
    uint64_t quotes = doubleQuotes | singleQuotes;
    while (quotes != 0) {
        const int at = __builtin_ctzll(quotes);
        quotes &= quotes - 1;
        const char kind = ((doubleQuotes >> at) & 1) != 0 ? '"' : '\'';
        if (quote == 0) {
            quote = kind;
            openedAt = at;
        } else if (kind == quote) {
            inside |= BitRange(openedAt, at);
            quote = 0;
        }
    }
    if (quote != 0) inside |= BitRange(openedAt, 63);
    return inside;
}

// Cuts items out of the 64 bytes at `block`, which stand at index `at` of the text; the item
// being cut starts at `b`, and `escapedBefore` tells whether the byte before the block is a
// backslash. Sets `backslash` when the block holds one. Each item ends at a separator outside
// strings at depth 0, where the scan stands as if it started afresh, so one pass over the blocks
// serves every item. Returns false when an empty item ends the list.
bool CutBlock(const char* block, int at, bool escapedBefore, int& b, ScanState& state,
              std::vector<std::pair<int, int>>& items, bool& backslash) {
    const BlockMasks m = Classify(block);
    backslash = backslash || m.backslash != 0;
    const uint64_t escaped = (m.backslash << 1) | (escapedBefore ? 1 : 0);
    const uint64_t outside =
        ~InsideStrings(m.doubleQuote & ~escaped, m.singleQuote & ~escaped, state.quote);
    const uint64_t open = m.open & outside;
    uint64_t brackets = (m.open | m.close) & outside;
    uint64_t separators = (m.close | m.comma) & outside;
    for (;;) {
        const uint64_t next = state.depth == 0 ? (brackets | separators) : brackets;
        if (next == 0) return true;
        const int bitAt = __builtin_ctzll(next);
        const uint64_t bit = uint64_t{1} << bitAt;
        if (state.depth == 0 && (separators & bit) != 0) {
            if (at + bitAt == b) return false;
            items.emplace_back(b, at + bitAt);
            b = at + bitAt + 1;
        } else {
            state.depth += (open & bit) != 0 ? 1 : -1;
        }
        const uint64_t later = ~((bit << 1) - 1);
        brackets &= later;
        separators &= later;
    }
}

#endif

int ItemEndFrom(int end, int begin, int bound) {
    return end < bound ? end : (bound > begin ? bound : begin);
}

}  // namespace

bool CutItems(const char* t, int begin, int bound, std::vector<std::pair<int, int>>& items) {
    int b = begin;
#if defined(__SSE2__)
    ScanState state;
    bool backslash = false;
    // A quote at index 0 has no byte before it, and counts as escaped.
    const auto escapedBefore = [t](int i) { return i == 0 || t[i - 1] == '\\'; };
    int i = begin;
    for (; bound - i >= 64; i += 64) {
        if (!CutBlock(t + i, i, escapedBefore(i), b, state, items, backslash)) return backslash;
    }
    if (i < bound) {
        // The last bytes, padded with zero bytes, which the scan passes over.
        char last[64] = {};
        std::memcpy(last, t + i, static_cast<size_t>(bound - i));
        if (!CutBlock(last, i, escapedBefore(i), b, state, items, backslash)) return backslash;
    }
    if (b < bound) items.emplace_back(b, bound);
    return backslash;
#else
    for (;;) {
        const int end = ItemEndFrom(ScanBytes(t, b, bound, nullptr, 0), b, bound);
        if (end == b) break;
        items.emplace_back(b, end);
        b = end + 1;
    }
    return bound > begin &&
           std::memchr(t + begin, '\\', static_cast<size_t>(bound - begin)) != nullptr;
#endif
}

int FindByte(const char* t, int begin, int end, int readable, char c) {
#if defined(__SSE2__)
    // Names are short: one look at 16 bytes finds the colon after most of them.
    if (readable - begin >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + begin));
        const unsigned hits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
        if (hits != 0) {
            const int at = begin + __builtin_ctz(hits);
            return at < end ? at : -1;
        }
        begin += 16;
    }
#endif
    if (begin >= end) return -1;
    const void* hit = std::memchr(t + begin, c, static_cast<size_t>(end - begin));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - t);
}

int NestedItemEnd(const char* t, int begin, int bound, const std::vector<int>& closing, int from) {
    return ItemEndFrom(ScanBytes(t, begin, bound, closing.data(), from), begin, bound);
}

void MatchBrackets(const char* t, int from, int to, std::vector<int>& closing) {
    closing.assign(static_cast<size_t>(to - from), kUnclosed);
    // The innermost bracket still open; each open bracket's entry links to the one around it
    // until it is closed.
    int open = -1;
    int i = from;
    while (i < to) {
        const char c = t[i];
        switch (ClassOf(c)) {
            case kPlain:
            case kComma:
                ++i;
                break;
            case kQuote:
                i = (i == 0 || t[i - 1] == '\\') ? i + 1 : SkipQuoted(t, i + 1, to, c);
                break;
            case kOpen:
                closing[i - from] = open;
                open = i++;
                break;
            case kClose:
                if (open >= 0) {
                    const int outer = closing[open - from];
                    closing[open - from] = i;
                    open = outer;
                }
                ++i;
                break;
        }
    }
    while (open >= 0) {
        const int outer = closing[open - from];
        closing[open - from] = kUnclosed;
        open = outer;
    }
}

}  // namespace josn_detail
