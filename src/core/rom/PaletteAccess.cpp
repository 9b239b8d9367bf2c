#include "rom/PaletteAccess.h"

#include <algorithm>

#include "platform/File.h"
#include "rom/CompressedBlock.h"
#include "rom/CompressedPalette.h"
#include "rom/Lz77.h"
#include "rom/PaletteIO.h"

namespace zandrel {

namespace {

// The failure of a block that does not decompress, or does not hold `count` words at the
// palette's offset.
Failure BlockFailure(const std::string& path, const PaletteLocation& where, BlockPaletteError error,
                     Lz77Error blockError, std::uint64_t size, std::span<const std::uint8_t> block,
                     int count) {
    if (error == BlockPaletteError::OutsideBlock)
        return Failure::OutsideBlock(path, PaletteLocationText(where), std::int64_t{2} * count,
                                     static_cast<std::uint64_t>(Lz77DeclaredSize(block, 0)));
    return Failure::BadBlock(path, where.location,
                             BlockErrorText(blockError, where.location >= size, size));
}

// The stored words (bit 15 included) of a compressed palette, from the file opened for reading.
Failure ReadStoredBlockWords(const std::string& path, const PaletteLocation& where, int count,
                             std::vector<ColorWord>& words) {
    std::vector<std::uint8_t> block;
    std::uint64_t size = 0;
    if (Failure failure = ReadBlockFile(path, where.location, block, size); !failure.ok())
        return failure;
    BlockPaletteRead read =
        ReadBlockPalette(block, 0, where.offsetInBlock, static_cast<std::size_t>(count));
    if (!read.ok())
        return BlockFailure(path, where, read.error, read.blockError, size, block, count);
    words = std::move(read.words);
    return {};
}

} // namespace

Failure ReadPalette(const std::string& path, const PaletteLocation& where, int count,
                    std::vector<ColorWord>& words) {
    count = std::max(count, 0);
    if (!where.compressed)
        return ReadColourWords(path, where.location, count, words);
    if (Failure failure = ReadStoredBlockWords(path, where, count, words); !failure.ok())
        return failure;
    for (ColorWord& word : words)
        word &= 0x7FFF;
    return {};
}

Failure ReadPaletteBytes(const std::string& path, const PaletteLocation& where, int count,
                         std::vector<std::uint8_t>& bytes) {
    count = std::max(count, 0);
    if (!where.compressed)
        return ReadFileBytes(path, where.location, static_cast<std::size_t>(count) * 2, bytes);
    std::vector<ColorWord> words;
    if (Failure failure = ReadStoredBlockWords(path, where, count, words); !failure.ok())
        return failure;
    bytes.clear();
    for (const ColorWord word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return {};
}

Failure ChangeCompressedPalette(const std::string& path, const PaletteLocation& where, int count,
                                const std::function<void(std::vector<ColorWord>&)>& change) {
    count = std::max(count, 0);
    const auto rewrite = [&](const File& file, std::uint64_t size,
                             std::vector<std::uint8_t>& replacement) -> Failure {
        std::vector<std::uint8_t> block;
        if (const FileStatus status = ReadBlockBytes(file, size, where.location, block);
            !status.ok())
            return Failure::CannotRead(path, status);
        const BlockPaletteRead read =
            ReadBlockPalette(block, 0, where.offsetInBlock, static_cast<std::size_t>(count));
        if (!read.ok())
            return BlockFailure(path, where, read.error, read.blockError, size, block, count);
        std::vector<ColorWord> words = read.words;
        change(words);
        // A word the change set is written with bit 15 as 0; the others keep theirs.
        for (std::size_t i = 0; i < words.size(); ++i)
            if (words[i] != read.words[i])
                words[i] &= 0x7FFF;
        // The same words: the block stays as it is, in its original encoding.
        if (words == read.words)
            return {};
        BlockPaletteWrite write = PatchBlockPalette(block, 0, where.offsetInBlock, words);
        if (write.error == BlockPaletteError::DoesNotFit)
            return Failure::DoesNotFit(path, PaletteLocationText(where),
                                       static_cast<std::int64_t>(write.shortest), write.room);
        if (!write.ok())
            return BlockFailure(path, where, write.error, write.blockError, size, block, count);
        replacement = std::move(write.stream);
        return {};
    };
    return RewriteInPlace(path, where.location, rewrite);
}

Failure WritePalette(const std::string& path, const PaletteLocation& where,
                     std::span<const ColorWord> words) {
    if (!where.compressed)
        return WriteColourWords(path, where.location, words);
    return ChangeCompressedPalette(path, where, static_cast<int>(words.size()),
                                   [&words](std::vector<ColorWord>& stored) {
                                       for (std::size_t i = 0; i < words.size(); ++i)
                                           stored[i] = words[i] & 0x7FFF;
                                   });
}

} // namespace zandrel
