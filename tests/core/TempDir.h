// A private folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zandrel::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes the bytes (or text) to a file in the folder and returns its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string WriteText(const std::string& name, const std::string& text) const;

  private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
// Byte k is (k * 7 + 3) & 0xFF, so any shifted write shows.
std::vector<std::uint8_t> PatternBytes(std::size_t size);
// PatternBytes with a game code at 0xAC, as far as `size` reaches.
std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size = 0x400);
// The colour word stored at `offset`: low byte first, bit 15 dropped, 0 past the end.
std::uint16_t StoredWord(const std::vector<std::uint8_t>& bytes, std::size_t offset);

} // namespace zandrel::testing
