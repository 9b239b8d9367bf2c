#include "util/Text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace zandrel {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t SequenceLength(std::string_view text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// Windows-1252 0x80-0x9F; 0 marks the five unassigned codes, kept as their C1 code points.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string codes;
    codes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = SequenceLength(text, i, code);
        if (length == 0) {
            codes.push_back(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            codes.push_back(code);
            i += length;
        }
    }
    return codes;
}

std::string EncodeUtf8(std::u32string_view codes) {
    std::string text;
    text.reserve(codes.size());
    for (const char32_t c : codes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        // ASCII, the common case: eight bytes at a time while none has its top bit set.
        std::uint64_t eight = 0;
        if (i + sizeof eight <= bytes.size()) {
            std::memcpy(&eight, bytes.data() + i, sizeof eight);
            const std::uint64_t high = eight & 0x8080808080808080ull;
            if (high == 0) {
                i += sizeof eight;
                continue;
            }
            // Straight to the first byte that is not ASCII (the lowest byte comes first).
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<std::size_t>(std::countr_zero(high)) / 8;
        }
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // Two-byte sequences (the accented Latin letters) without the general decoder.
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < bytes.size() &&
            (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = SequenceLength(bytes, i, code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::u32string codes;
    codes.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t mapped = (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : 0;
        codes.push_back(mapped != 0 ? mapped : b);
    }
    return EncodeUtf8(codes);
}

int EightBitCode(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<int>(code);
    for (std::size_t k = 0; k < kCp1252High.size(); ++k)
        if (kCp1252High[k] == code || (kCp1252High[k] == 0 && code == 0x80 + k))
            return static_cast<int>(0x80 + k);
    return -1;
}

std::string DecodeEightBitText(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string_view WithoutUtf8Bom(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    return text.starts_with(kBom) ? text.substr(kBom.size()) : text;
}

std::string_view TrimmedOf(std::string_view text, std::string_view set) {
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}

bool EndsWithNoCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const auto upper = [](char ch) {
            return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        };
        if (upper(tail[i]) != upper(ending[i]))
            return false;
    }
    return true;
}

std::string UpperCase(std::string_view text) {
    // Plain ASCII needs no decoding, which keeps the common case cheap.
    bool ascii = true;
    for (const char ch : text)
        ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    if (ascii) {
        std::string upper(text);
        for (char& ch : upper)
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
        return upper;
    }
    std::u32string codes = DecodeUtf8(text);
    for (char32_t& c : codes) {
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c -= 0x20;
        else if (c == 0xFF)
            c = 0x178;
    }
    return EncodeUtf8(codes);
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

} // namespace zandrel
