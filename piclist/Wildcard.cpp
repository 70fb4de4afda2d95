#include "piclist/Wildcard.h"

#include "framework/String.h"

#include <array>
#include <string>

namespace {

// Case folding as the system folds the ANSI code page: every capital to its small letter, the
// accented ones and those of 1252 outside Latin-1 (the OE ligature, S and Z caron, Y diaeresis)
// included; the multiplication sign is no letter. The table is made once, from the system's own
// lower-casing.
unsigned char Fold(unsigned char c, int foldCase)
{
    static const std::array<unsigned char, 256> s_lower = [] {
        std::array<unsigned char, 256> table{};
        for (int i = 0; i < 256; i++) {
            char byte = static_cast<char>(i);
            if (i != 0)
                AfxAnsiLower(&byte, 1);
            table[static_cast<size_t>(i)] = static_cast<unsigned char>(byte);
        }
        return table;
    }();
    return foldCase ? s_lower[c] : c;
}

// The set starting just after '[' at p: matched against c, *pEnd set after its ']'. -1 when the set
// has no closing ']'.
int MatchSet(const unsigned char* p, unsigned char c, int foldCase, const unsigned char** pEnd)
{
    bool negate = false;
    if (*p == '!' || *p == '^') {
        negate = true;
        ++p;
    }
    // Find the closing ']' first: without one the whole pattern fails.
    const unsigned char* q = p;
    while (*q && *q != ']') {
        if (*q == '\\' && q[1])
            ++q;
        ++q;
    }
    if (*q != ']')
        return -1;
    const unsigned char* end = q;
    bool found = false;
    const unsigned char fc = Fold(c, foldCase);
    while (p < end) {
        unsigned char lo;
        if (*p == '\\' && p + 1 < end) {
            lo = p[1];
            p += 2;
        } else {
            lo = *p++;
        }
        if (!(p < end && *p == '-')) {
            if (Fold(lo, foldCase) == fc)
                found = true;
            continue;
        }
        // lo followed by '-': a range lo..hi; lo counts only as its start.
        ++p;
        if (p >= end)
            break; // "[a-]": joins 'a' to nothing
        unsigned char hi;
        if (*p == '\\' && p + 1 < end) {
            hi = p[1];
            p += 2;
        } else {
            hi = *p++;
        }
        const unsigned char flo = Fold(lo, foldCase), fhi = Fold(hi, foldCase);
        if (flo <= fhi && fc >= flo && fc <= fhi)
            found = true;
    }
    *pEnd = end + 1;
    return found != negate ? 1 : 0;
}

int Match(const unsigned char* p, const unsigned char* n, int foldCase)
{
    for (;;) {
        switch (*p) {
        case 0:
            return *n == 0 ? 1 : 0;
        case '?':
            if (*n == 0)
                return 0;
            ++p;
            ++n;
            break;
        case '*': {
            if (p[1] == 0)
                return 1;
            for (;; ++n) {
                if (*n == 0)
                    return 2;
                int r = Match(p + 1, n, foldCase);
                if (r != 0)
                    return r;
            }
        }
        case '[': {
            if (*n == 0)
                return 0;
            const unsigned char* after = nullptr;
            int r = MatchSet(p + 1, *n, foldCase, &after);
            if (r <= 0)
                return 0;
            p = after;
            ++n;
            break;
        }
        case '\\':
            if (p[1] == 0)
                return 0;
            ++p;
            if (Fold(*p, foldCase) != Fold(*n, foldCase) || *n == 0)
                return 0;
            ++p;
            ++n;
            break;
        default:
            if (*n == 0 || Fold(*p, foldCase) != Fold(*n, foldCase))
                return 0;
            ++p;
            ++n;
            break;
        }
    }
}

} // namespace

int MatchWildcard(const char* pattern, const char* name, int foldCase)
{
    if (!pattern || !name)
        return 0;
    return Match(reinterpret_cast<const unsigned char*>(pattern),
                 reinterpret_cast<const unsigned char*>(name), foldCase);
}

int MatchFileName(const char* name, const char* pattern, int foldCase)
{
    if (!name || !pattern)
        return 0;
    std::string pat = pattern;
    const size_t len = pat.size();
    if (len >= 3 && pat.compare(len - 3, 3, "*.*") == 0) {
        pat.erase(len - 2);
    } else if (len >= 2 && pat.compare(len - 2, 2, "*.") == 0) {
        if (std::string(name).find('.') != std::string::npos)
            return 0;
        pat.erase(len - 1);
    }
    return MatchWildcard(pat.c_str(), name, foldCase) == 1 ? 1 : 0;
}
