#include "TempDir.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zandrel::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Anything a test made read-only is made writable again, so it can be removed.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string full = File(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempDir::WriteText(const std::string& name, const std::string& text) const {
    return Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> PatternBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>((k * 7 + 3) & 0xFF);
    return bytes;
}

std::vector<std::uint8_t> RomWithCode(const std::string& code, std::size_t size) {
    std::vector<std::uint8_t> bytes = PatternBytes(size);
    for (std::size_t i = 0; i < code.size() && 0xAC + i < size; ++i)
        bytes[0xAC + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}

std::uint16_t StoredWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    const int low = offset < bytes.size() ? bytes[offset] : 0;
    const int high = offset + 1 < bytes.size() ? bytes[offset + 1] : 0;
    return static_cast<std::uint16_t>(low | (high & 0x7F) << 8);
}

} // namespace zandrel::testing
