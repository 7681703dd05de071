#pragma once

#include <cstdint>

namespace vorlie::json {

// The character a two-byte escape such as \n stands for; 0 for \u, which
// needs its four hex digits, and for anything that is no escape.
inline char simpleEscape(char c)
{
    switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return 0;
    }
}

// The code unit of the four hex digits at `digits`; -1 unless all four are
// hex digits. The caller makes sure four bytes are there.
inline std::int32_t hexUnit(const char *digits)
{
    std::int32_t unit = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = digits[i];
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

inline bool isHighSurrogate(std::int32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(std::int32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

} // namespace vorlie::json
