#include "rom/CompressedPalette.h"

#include "rom/Lz77Encoder.h"

namespace zandrel {

namespace {

bool InsideBlock(const Lz77Block& block, std::size_t offsetInBlock, std::size_t count) {
    return offsetInBlock % 2 == 0 && offsetInBlock <= block.data.size() &&
           count <= (block.data.size() - offsetInBlock) / 2;
}

} // namespace

BlockPaletteRead ReadBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                  std::size_t offsetInBlock, std::size_t count) {
    BlockPaletteRead read;
    const Lz77Block decompressed = DecompressLz77(file, block);
    if (!decompressed.ok()) {
        read.error = BlockPaletteError::BadBlock;
        read.blockError = decompressed.error;
        return read;
    }
    if (!InsideBlock(decompressed, offsetInBlock, count)) {
        read.error = BlockPaletteError::OutsideBlock;
        return read;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = offsetInBlock + 2 * i;
        read.words.push_back(
            static_cast<ColorWord>(decompressed.data[at] | decompressed.data[at + 1] << 8));
    }
    return read;
}

BlockPaletteWrite PatchBlockPalette(std::span<const std::uint8_t> file, std::size_t block,
                                    std::size_t offsetInBlock, std::span<const ColorWord> words) {
    BlockPaletteWrite write;
    Lz77Block decompressed = DecompressLz77(file, block);
    if (!decompressed.ok()) {
        write.error = BlockPaletteError::BadBlock;
        write.blockError = decompressed.error;
        return write;
    }
    if (!InsideBlock(decompressed, offsetInBlock, words.size())) {
        write.error = BlockPaletteError::OutsideBlock;
        return write;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        decompressed.data[offsetInBlock + 2 * i] = static_cast<std::uint8_t>(words[i]);
        decompressed.data[offsetInBlock + 2 * i + 1] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    Lz77Fit fit = CompressLz77ToFit(decompressed.data, decompressed.streamLength);
    write.shortest = fit.shortest;
    write.room = decompressed.streamLength;
    if (fit.stream.empty()) {
        write.error = BlockPaletteError::DoesNotFit;
        return write;
    }
    // The stream's own decompression proves it before any write.
    const Lz77Block check = DecompressLz77(fit.stream, 0);
    if (!check.ok() || check.data != decompressed.data || fit.stream.size() > write.room) {
        write.error = BlockPaletteError::BadBlock;
        write.blockError = check.error;
        return write;
    }
    write.stream = std::move(fit.stream);
    return write;
}

} // namespace zandrel
