// LZ77 streams from outside: decompression stays inside the input and yields exactly the
// declared size or a refusal; any bytes compress to a stream that decompresses back to them;
// a palette patched into a decompressing block is either refused or takes no more than the
// block's room.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "rom/CompressedPalette.h"
#include "rom/Lz77.h"
#include "rom/Lz77Encoder.h"

using namespace zandrel;

namespace {

void CheckDecompression(std::span<const std::uint8_t> input, std::size_t offset) {
    const Lz77Block block = DecompressLz77(input, offset);
    if (!block.ok()) {
        FUZZ_CHECK(block.data.empty());
        return;
    }
    FUZZ_CHECK(std::int64_t(block.data.size()) == Lz77DeclaredSize(input, offset));
    FUZZ_CHECK(block.streamLength >= 4 && offset + block.streamLength <= input.size());
}

void CheckRoundTrip(std::span<const std::uint8_t> data) {
    const std::vector<std::uint8_t> stream = CompressLz77(data);
    FUZZ_CHECK(stream.size() % 4 == 0);
    const Lz77Block back = DecompressLz77(stream, 0);
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(std::equal(back.data.begin(), back.data.end(), data.begin(), data.end()));
    FUZZ_CHECK(stream.size() - back.streamLength < 4);
}

void CheckPatch(std::span<const std::uint8_t> input) {
    const std::vector<ColorWord> words(16, 0x7FFF);
    const BlockPaletteWrite write = PatchBlockPalette(input, 0, 0, words);
    if (!write.ok())
        return;
    FUZZ_CHECK(write.shortest <= write.stream.size() && write.stream.size() <= write.room);
    FUZZ_CHECK(DecompressLz77(write.stream, 0).streamLength == write.stream.size());
    const BlockPaletteRead read = ReadBlockPalette(write.stream, 0, 0, 16);
    FUZZ_CHECK(read.ok() && read.words == words);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    CheckDecompression(input, 0);
    if (size > 4)
        CheckDecompression(input, size / 2);
    CheckRoundTrip(input);
    CheckPatch(input);
    return 0;
}
