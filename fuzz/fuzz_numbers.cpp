// Numbers and texts read from definition files and typed answers: hex locations, colour
// counts, upper case and the UTF-8 / Windows-1252 decoding.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "util/Hex.h"
#include "util/NumberText.h"
#include "util/Text.h"

using namespace zandrel;

namespace {

void CheckHex(std::string_view text) {
    const std::int32_t n = HexToNumber(text);
    FUZZ_CHECK(n >= 0); // every digit adds, nothing subtracts
    FUZZ_CHECK(HexToNumber(HexText(n)) == n);
    // The strict reading agrees with the classic one wherever both give a number.
    const std::optional<std::uint32_t> strict = ParseHex(text);
    if (strict && *strict <= 0x7FFFFFFF && text.size() <= 32767)
        FUZZ_CHECK(HexToNumber(UpperCase(text)) == static_cast<std::int32_t>(*strict));
}

void CheckCounts(std::string_view text) {
    const double number = LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(number));
    if (const auto rounded = RoundToInt16(number)) {
        FUZZ_CHECK(std::fabs(static_cast<double>(*rounded) - number) <= 0.5);
    } else {
        FUZZ_CHECK(!std::isfinite(number) || number <= -32768.5 || number >= 32767.5);
    }
    const int count = PaletteColourCount(text);
    FUZZ_CHECK(count >= 0 && count <= 16);
}

void CheckText(std::string_view bytes) {
    const bool valid = IsValidUtf8(bytes);
    const std::u32string codes = DecodeUtf8(bytes);
    FUZZ_CHECK(codes.size() <= bytes.size());
    // Valid exactly when decoding and encoding again gives the same bytes (a byte that is not
    // part of valid UTF-8 comes back as two).
    FUZZ_CHECK(valid == (EncodeUtf8(codes) == bytes));

    const std::string fromCp1252 = Windows1252ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(fromCp1252));
    // Every byte of the 8-bit set comes back as itself.
    const std::u32string cp1252Codes = DecodeUtf8(fromCp1252);
    FUZZ_CHECK(cp1252Codes.size() == bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        FUZZ_CHECK(EightBitCode(cp1252Codes[i]) == static_cast<unsigned char>(bytes[i]));

    const std::string decoded = DecodeEightBitText(bytes);
    FUZZ_CHECK(IsValidUtf8(decoded));
    FUZZ_CHECK(valid ? decoded == bytes : decoded == fromCp1252);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    CheckHex(text);
    CheckCounts(text);
    CheckText(text);
    return 0;
}
