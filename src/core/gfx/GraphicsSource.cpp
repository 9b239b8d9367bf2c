#include "gfx/GraphicsSource.h"

#include <algorithm>

#include "rom/CompressedBlock.h"
#include "rom/PaletteIO.h"
#include "util/Hex.h"

namespace zandrel {

Failure GraphicsSource::Open(const std::string& path, const GraphicsLocation& where,
                             GraphicsSource& source) {
    GraphicsSource opened;
    opened.path_ = path;
    opened.compressed_ = where.compressed;
    opened.block_ = where.location;
    if (where.compressed) {
        Lz77Block block;
        if (Failure failure = DecompressBlockAt(path, where.location, block); !failure.ok())
            return failure;
        opened.data_ = std::move(block.data);
        opened.size_ = opened.data_.size();
        if (where.offsetInBlock >= opened.size_)
            return Failure::FileRefused(path,
                                        "os gráficos no byte hex " + HexText(where.offsetInBlock) +
                                            " do bloco comprimido LZ:" + HexText(where.location) +
                                            " ficam fora dos seus " + std::to_string(opened.size_) +
                                            " bytes descomprimidos");
    } else {
        FileStatus status;
        const File file = File::Open(path, OpenMode::ReadOnly, status);
        if (status.ok())
            status = file.Size(opened.size_);
        if (!status.ok())
            return Failure::CannotRead(path, status);
        if (where.location >= opened.size_)
            return Failure::FileRefused(path, "os gráficos na localização hex " +
                                                  HexText(where.location) +
                                                  " ficam fora do arquivo, que tem " +
                                                  std::to_string(opened.size_) + " bytes");
    }
    source = std::move(opened);
    return {};
}

Failure GraphicsSource::Read(std::uint64_t offset, std::size_t length,
                             std::vector<std::uint8_t>& bytes) const {
    if (!compressed_)
        return ReadFileBytes(path_, static_cast<std::int64_t>(offset), length, bytes);
    bytes.assign(length, 0);
    if (offset < size_)
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset),
                    std::min<std::uint64_t>(length, size_ - offset), bytes.begin());
    return {};
}

GraphicsLocation GraphicsSource::LocationOf(std::uint64_t offset) const {
    if (compressed_)
        return {block_, true, static_cast<std::uint32_t>(offset)};
    return {static_cast<std::uint32_t>(offset), false, 0};
}

std::uint64_t GraphicsSource::OffsetOf(const GraphicsLocation& where) const {
    return compressed_ ? where.offsetInBlock : where.location;
}

Failure ReadTiles(const GraphicsSource& source, std::uint64_t start, const TileGrid& grid,
                  std::size_t tiles, TileImage& image) {
    std::vector<std::uint8_t> bytes;
    if (Failure failure = source.Read(start, tiles * TileBytes(grid.bitsPerPixel), bytes);
        !failure.ok())
        return failure;
    const std::uint64_t inside = start < source.size() ? source.size() - start : 0;
    bytes.resize(std::min<std::uint64_t>(bytes.size(), inside));
    image = DecodeTiles(bytes, grid, tiles);
    return {};
}

} // namespace zandrel
