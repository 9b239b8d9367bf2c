// The supported games: the header code at 0xAC, the title shown and the definition file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zandrel {

struct GameInfo {
    std::string_view code;
    std::int16_t index;
    std::string_view title;
    std::string_view definitionFile;
};

inline constexpr std::array<GameInfo, 5> kGames{{
    {"AQXE", 0, "Torvale (US)", "TORV_E.ZNDL"},
    {"AWQE", 1, "Torvale 2 (US)", "TORV2_E.ZNDL"},
    {"BZQE", 2, "Torvale 3 (US)", "TORV3_E.ZNDL"},
    {"BKRJ", 3, "Kemrith (J)", "KEMR_J.ZNDL"},
    {"AQXJ", 5, "Torvale (J)", "TORV_J.ZNDL"},
}};

inline constexpr std::string_view kMemoryDumpDefinitionFile = "MEMORYDUMP.ZNDL";
inline constexpr std::uint64_t kGameCodeOffset = 0xAC;
inline constexpr std::uint64_t kGameTitleOffset = 0xA0;
inline constexpr std::size_t kGameTitleLength = 12;

// The game whose code matches exactly (case-sensitive), if any.
std::optional<GameInfo> FindGameByCode(std::span<const std::uint8_t> code);
// The definition file named after a header code of none of the five games, "<CODE>.ZNDL";
// empty unless the code's four characters are ASCII letters and digits.
std::string CodeDefinitionFile(std::span<const std::uint8_t> code);
// The internal title of the header's 12 bytes at 0xA0: trailing NULs and blanks cut off, any
// other byte outside printable ASCII shown as "?".
std::string InternalTitle(std::span<const std::uint8_t> title);
// A memory dump is known by its name alone: it ends in ".DMP" in any letter case.
bool IsMemoryDumpName(std::string_view path);
// The definition file for the latest identification: the dump's when GameName is the memory
// dump, otherwise the one of GameIndex (empty when no game has that index).
std::string DefinitionFileFor(std::string_view gameName, std::int16_t gameIndex);

} // namespace zandrel
