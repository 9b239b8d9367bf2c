#include "rom/CompressedBlock.h"

#include <algorithm>
#include <array>

namespace zandrel {

namespace {

constexpr std::uint64_t kHeaderBytes = 4;

// The longest stream that decompresses to `declared` bytes: all literals, a flag byte for
// every eight, and a last reference cut short.
std::uint64_t LongestStream(std::uint64_t declared) {
    return kHeaderBytes + declared + (declared + 7) / 8 + 2;
}

} // namespace

FileStatus ReadBlockBytes(const File& file, std::uint64_t size, std::uint32_t block,
                          std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (block >= size)
        return {};
    std::array<std::uint8_t, kHeaderBytes> header{};
    if (const FileStatus status = file.ReadAt(block, header); !status.ok())
        return status;
    const std::uint64_t declared = header[1] | header[2] << 8 | header[3] << 16;
    bytes.resize(static_cast<std::size_t>(std::min(size - block, LongestStream(declared))));
    return file.ReadAt(block, bytes);
}

std::string BlockErrorText(Lz77Error error, bool outsideFile, std::uint64_t size) {
    if (outsideFile)
        return "a localização fica fora do arquivo, que tem " + std::to_string(size) + " bytes";
    switch (error) {
    case Lz77Error::NotLz77:
        return "não há um cabeçalho LZ77 (o byte 10 hex) nessa localização";
    case Lz77Error::Truncated:
        return "o arquivo termina antes do fim dos dados comprimidos";
    case Lz77Error::BeforeStart:
        return "uma referência aponta para antes do início dos dados";
    case Lz77Error::None:
        break;
    }
    return {};
}

Failure ReadBlockFile(const std::string& path, std::uint32_t block,
                      std::vector<std::uint8_t>& bytes, std::uint64_t& size) {
    FileStatus status;
    const File file = File::Open(path, OpenMode::ReadOnly, status);
    if (status.ok())
        status = file.Size(size);
    if (status.ok())
        status = ReadBlockBytes(file, size, block, bytes);
    if (!status.ok())
        return Failure::CannotRead(path, status);
    return {};
}

Failure DecompressBlockAt(const std::string& path, std::uint32_t block, Lz77Block& decompressed) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t size = 0;
    if (Failure failure = ReadBlockFile(path, block, bytes, size); !failure.ok())
        return failure;
    Lz77Block read = DecompressLz77(bytes, 0);
    if (!read.ok())
        return Failure::BadBlock(path, block, BlockErrorText(read.error, block >= size, size));
    decompressed = std::move(read);
    return {};
}

} // namespace zandrel
