// A private folder for one test, removed with everything in it afterwards; and byte helpers.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zandrel::testing {

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ignored; // what a test made read-only must still be removable
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::string full = File(name);
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + full);
        return full;
    }
    std::string WriteText(const std::string& name, const std::string& text) const {
        return Write(name, {text.begin(), text.end()});
    }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Byte k is (k * 7 + 3) & 0xFF, so any shifted write shows.
inline std::vector<std::uint8_t> PatternBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>((k * 7 + 3) & 0xFF);
    return bytes;
}

// PatternBytes with a game code at 0xAC, as far as `size` reaches.
inline std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size = 0x400) {
    std::vector<std::uint8_t> bytes = PatternBytes(size);
    for (std::size_t i = 0; i < code.size() && 0xAC + i < size; ++i)
        bytes[0xAC + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}

// The colour word stored at `offset`: low byte first, bit 15 dropped, 0 past the end.
inline std::uint16_t StoredWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    const int low = offset < bytes.size() ? bytes[offset] : 0;
    const int high = offset + 1 < bytes.size() ? bytes[offset + 1] : 0;
    return static_cast<std::uint16_t>(low | (high & 0x7F) << 8);
}

// An LZ77 stream (GBA BIOS, type 0x10) of literals only: the header, then a flag byte 00
// before every eight bytes of `data`.
inline std::vector<std::uint8_t> LiteralLz77(const std::vector<std::uint8_t>& data) {
    const std::size_t n = data.size();
    std::vector<std::uint8_t> stream = {0x10, static_cast<std::uint8_t>(n),
                                        static_cast<std::uint8_t>(n >> 8),
                                        static_cast<std::uint8_t>(n >> 16)};
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 8 == 0)
            stream.push_back(0);
        stream.push_back(data[i]);
    }
    return stream;
}

// `bytes` with `part` copied in at `offset`.
inline std::vector<std::uint8_t> With(std::vector<std::uint8_t> bytes, std::size_t offset,
                                      const std::vector<std::uint8_t>& part) {
    std::copy(part.begin(), part.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

} // namespace zandrel::testing
