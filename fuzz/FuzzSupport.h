// Shared by the fuzz targets: a check that stops the run with a readable reason, and a
// private scratch folder on a memory file system when there is one.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::zandrel::fuzz::Fail(#condition, __FILE__, __LINE__);                                 \
    } while (0)

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// One folder per fuzzing process, removed when the process ends normally.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        namespace fs = std::filesystem;
        fs::path base = fs::temp_directory_path();
        if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm"))
            base = "/dev/shm"; // the targets write files on every input
        std::string pattern = (base / "zandrel-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        static const fs::path made(pattern);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(made, ec);
        });
        return made;
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zandrel::fuzz
