#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabulane {

// The first occurrence of unit in [p, end), or end.
template <typename Unit>
const Unit* FindUnit(const Unit* p, const Unit* end, Unit unit) {
    if constexpr (sizeof(Unit) == 1) {
        const void* found = std::memchr(p, static_cast<unsigned char>(unit), static_cast<std::size_t>(end - p));
        return found != nullptr ? static_cast<const Unit*>(found) : end;
    } else {
        return std::find(p, end, unit);
    }
}

// The first CR or LF in [p, end), or end.
template <typename Unit>
const Unit* FindBreak(const Unit* p, const Unit* end) {
    if constexpr (sizeof(Unit) == 1) {
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        while (end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
            if (mask != 0) {
                return p + std::countr_zero(static_cast<unsigned>(mask));
            }
            p += 16;
        }
#endif
    }
    while (p < end && *p != static_cast<Unit>('\r') && *p != static_cast<Unit>('\n')) {
        ++p;
    }
    return p;
}

// The first unit in [p, end) that differs from unit, or end.
template <typename Unit>
const Unit* SkipUnit(const Unit* p, const Unit* end, Unit unit) {
    while (p < end && *p == unit) {
        ++p;
    }
    return p;
}

// Finds a separator of two or more units in text that arrives in pieces: left to right, without overlap, never
// looking at a unit twice, so the time stays linear in the text whatever the separator (a long run of one
// character with a different last one is the worst case for a plain search). Between matches the first unit
// is found with a fast scan; from there a table of the separator's borders says how far a partial match can
// fall back (Knuth, Morris and Pratt). A partial match at the end of a piece waits for the next one; as it is
// a prefix of the separator, nothing needs to be kept but its length.
template <typename Unit>
class SeparatorSearch {
public:
    explicit SeparatorSearch(std::basic_string<Unit> separator)
        : m_separator(std::move(separator)), m_border(m_separator.size() + 1, 0) {
        std::size_t border = 0;
        for (std::size_t i = 1; i < m_separator.size(); ++i) {
            while (border > 0 && m_separator[i] != m_separator[border]) {
                border = m_border[border];
            }
            if (m_separator[i] == m_separator[border]) {
                ++border;
            }
            m_border[i + 1] = border;
        }
    }

    // Passes the text of [p, end) to text(units, count), with match() in place of each occurrence, in order.
    template <typename Text, typename Match>
    void Feed(const Unit* p, const Unit* end, Text&& text, Match&& match) {
        const std::size_t length = m_separator.size();
        // Positions relative to p; the units waiting from earlier pieces sit before it, at negative positions.
        std::ptrdiff_t written = -static_cast<std::ptrdiff_t>(m_matched);
        const auto writeTo = [&](std::ptrdiff_t position) {
            if (written < 0 && position > written) {
                const std::ptrdiff_t stop = std::min<std::ptrdiff_t>(position, 0);
                text(m_separator.data() + m_matched + written, static_cast<std::size_t>(stop - written));
                written = stop;
            }
            if (position > written) {
                text(p + written, static_cast<std::size_t>(position - written));
                written = position;
            }
        };
        std::size_t matched = m_matched;
        const Unit* q = p;
        // A match can end only at the separator's last unit: the first one at or after q (or end) is the earliest
        // end, so no match starts more than length - 1 units before it. The text up to there, a partial match
        // held back included, is passed on unread. A long run of one character then costs a scan, not a step of
        // the table for every unit.
        const Unit lastUnit = m_separator[length - 1];
        const Unit* earliestEnd = nullptr;
        while (q < end) {
            if (earliestEnd == nullptr || q > earliestEnd) {
                earliestEnd = FindUnit(q, end, lastUnit);
            }
            if (static_cast<std::size_t>(earliestEnd - q) > length - 1) {
                q = earliestEnd - (length - 1);
                writeTo(q - p);
                matched = 0;
            }
            if (matched == 0) {
                q = FindUnit(q, end, m_separator[0]);
                if (q == end) {
                    break;
                }
                matched = 1;
                ++q;
                continue;
            }
            const Unit unit = *q++;
            while (matched > 0 && m_separator[matched] != unit) {
                matched = m_border[matched];
            }
            if (m_separator[matched] == unit) {
                ++matched;
            }
            if (matched == length) {
                writeTo(q - p - static_cast<std::ptrdiff_t>(length));
                match();
                written = q - p;
                matched = 0;
            }
        }
        writeTo(end - p - static_cast<std::ptrdiff_t>(matched));
        m_matched = matched;
    }

    // The end of the text: a partial match waiting at the end is text after all.
    template <typename Text>
    void End(Text&& text) {
        if (m_matched > 0) {
            text(m_separator.data(), m_matched);
            m_matched = 0;
        }
    }

private:
    std::basic_string<Unit> m_separator;
    std::vector<std::size_t> m_border;  // m_border[k]: the longest proper border of the separator's first k units
    std::size_t m_matched = 0;          // units of the separator matched at the end of the text so far
};

// Replaces every occurrence of the separator, left to right, without overlap, in text that arrives in pieces.
// Sink takes the text through Append(const Unit*, std::size_t) and Append(const std::basic_string<Unit>&).
template <typename Unit, typename Sink>
class Replacer {
public:
    Replacer(std::basic_string<Unit> separator, std::basic_string<Unit> replacement, Sink& sink)
        : m_separator(separator), m_replacement(std::move(replacement)), m_sink(sink), m_search(std::move(separator)) {}

    void Feed(const Unit* p, const Unit* end) {
        if (m_separator.empty()) {
            m_sink.Append(p, static_cast<std::size_t>(end - p));
        } else if (m_separator.size() == 1) {
            FeedSingle(p, end);
        } else {
            m_search.Feed(p, end, Text(), [this] { m_sink.Append(m_replacement); });
        }
    }

    // The end of a line: a partial match held back can no longer become a match.
    void EndText() { m_search.End(Text()); }

private:
    auto Text() {
        return [this](const Unit* units, std::size_t count) { m_sink.Append(units, count); };
    }

    void FeedSingle(const Unit* p, const Unit* end) {
        const Unit separator = m_separator[0];
        while (p < end) {
            const Unit* hit = FindUnit(p, end, separator);
            m_sink.Append(p, static_cast<std::size_t>(hit - p));
            if (hit == end) {
                return;
            }
            m_sink.Append(m_replacement);
            p = hit + 1;
        }
    }

    std::basic_string<Unit> m_separator;
    std::basic_string<Unit> m_replacement;
    Sink& m_sink;
    SeparatorSearch<Unit> m_search;
};

}  // namespace tabulane
