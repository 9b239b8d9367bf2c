// Indexed PNG files: the bytes the writer lays out, read back by libpng itself, and PLTE read
// from files libpng's own writer made.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

#include "png/Png.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

// What libpng's simplified reader makes of a PNG: its colour map (R, G, B, A per entry) and
// one index per pixel.
struct Decoded {
    int width = 0;
    int height = 0;
    Bytes colourMap;
    Bytes indexes;
};

Decoded Decode(const Bytes& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded decoded;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return decoded;
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    decoded.colourMap.resize(4 * 256);
    decoded.indexes.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, decoded.indexes.data(), 0,
                               decoded.colourMap.data()))
        return {};
    decoded.colourMap.resize(4 * image.colormap_entries);
    decoded.width = static_cast<int>(image.width);
    decoded.height = static_cast<int>(image.height);
    return decoded;
}

// An indexed PNG made by libpng's own writer (4 bits per pixel for up to 16 entries), with
// entry k = (k, 2k, 255 - k), or an RGB one.
Bytes LibpngWrites(int entries, bool indexed = true) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = indexed ? PNG_FORMAT_RGB_COLORMAP : PNG_FORMAT_RGB;
    image.colormap_entries = static_cast<png_uint_32>(entries);
    Bytes colours;
    for (int k = 0; k < entries; ++k)
        colours.insert(colours.end(),
                       {std::uint8_t(k), std::uint8_t(2 * k), std::uint8_t(255 - k)});
    const Bytes pixels = indexed ? Bytes{0, 1} : Bytes{1, 2, 3, 4, 5, 6};
    png_alloc_size_t size = 0;
    png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, colours.data());
    Bytes png(size);
    png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, colours.data());
    png.resize(size);
    return png;
}

Bytes Encode(const IndexedImage& image) {
    Bytes png;
    const Failure failure = EncodeIndexedPng(image, png);
    EXPECT_TRUE(failure.ok()) << failure.reason;
    return png;
}

// Big-endian length, type, data: one chunk as it must appear in the file, CRC aside.
Bytes Chunk(const std::string& type, const Bytes& data) {
    const auto n = static_cast<std::uint32_t>(data.size());
    Bytes chunk(8 + n);
    for (int i = 0; i < 4; ++i)
        chunk[i] = static_cast<std::uint8_t>(n >> (24 - 8 * i));
    std::copy_n(type.begin(), 4, chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    return chunk;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t length) {
    return from + length <= bytes.size()
               ? Bytes(bytes.begin() + from, bytes.begin() + from + length)
               : Bytes{};
}

const Bytes kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Sixteen colours, 0x00BBGGRR: entry k is red 16k + 1, green 255 - k, blue 3k.
const RgbColor kSixteen[16] = {0x00FF01, 0x03FE11, 0x06FD21, 0x09FC31, 0x0CFB41, 0x0FFA51,
                               0x12F961, 0x15F871, 0x18F781, 0x1BF691, 0x1EF5A1, 0x21F4B1,
                               0x24F3C1, 0x27F2D1, 0x2AF1E1, 0x2DF0F1};

TEST(Png, IndexedImageLayout) {
    const Bytes pixels = {0, 1, 2, 15, 14, 13};
    const IndexedImage image{3, 2, pixels, kSixteen, false};
    const Bytes png = Encode(image);
    // Signature, then IHDR: width 3, height 2, 8 bits, colour type 3, deflate, no filter
    // method, not interlaced; PLTE right after it with the sixteen colours as R, G, B.
    EXPECT_EQ(Slice(png, 0, 8), kSignature);
    EXPECT_EQ(Slice(png, 8, 21), Chunk("IHDR", {0, 0, 0, 3, 0, 0, 0, 2, 8, 3, 0, 0, 0}));
    const Bytes plte = {0x01, 0xFF, 0x00, 0x11, 0xFE, 0x03, 0x21, 0xFD, 0x06, 0x31, 0xFC, 0x09,
                        0x41, 0xFB, 0x0C, 0x51, 0xFA, 0x0F, 0x61, 0xF9, 0x12, 0x71, 0xF8, 0x15,
                        0x81, 0xF7, 0x18, 0x91, 0xF6, 0x1B, 0xA1, 0xF5, 0x1E, 0xB1, 0xF4, 0x21,
                        0xC1, 0xF3, 0x24, 0xD1, 0xF2, 0x27, 0xE1, 0xF1, 0x2A, 0xF1, 0xF0, 0x2D};
    EXPECT_EQ(Slice(png, 33, 56), Chunk("PLTE", plte));
    EXPECT_EQ(Slice(png, 97, 4), (Bytes{'I', 'D', 'A', 'T'})); // no tRNS
    const Decoded decoded = Decode(png);
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.indexes, pixels);
    ASSERT_EQ(decoded.colourMap.size(), 64u);
    EXPECT_EQ(Slice(decoded.colourMap, 60, 4), (Bytes{0xF1, 0xF0, 0x2D, 0xFF}));

    // Index 0 transparent: tRNS of one entry, 0, between PLTE and IDAT.
    const Bytes transparent = Encode({3, 2, pixels, kSixteen, true});
    EXPECT_EQ(Slice(transparent, 33, 56), Chunk("PLTE", plte));
    EXPECT_EQ(Slice(transparent, 93, 9), Chunk("tRNS", {0}));
    EXPECT_EQ(Slice(Decode(transparent).colourMap, 0, 8),
              (Bytes{0x01, 0xFF, 0x00, 0x00, 0x11, 0xFE, 0x03, 0xFF}));
}

TEST(Png, TwoHundredFiftySixColours) {
    std::vector<RgbColor> palette;
    Bytes pixels;
    for (int k = 0; k < 256; ++k) {
        palette.push_back(static_cast<RgbColor>(k << 16 | (255 - k) << 8 | (k ^ 0x5A)));
        pixels.push_back(static_cast<std::uint8_t>(255 - k));
    }
    const Bytes png = Encode({16, 16, pixels, palette, false});
    EXPECT_EQ(Slice(png, 33, 8), (Bytes{0, 0, 3, 0, 'P', 'L', 'T', 'E'}));
    // Entry 200: red 200 ^ 0x5A = 0x92, green 55, blue 200.
    EXPECT_EQ(Slice(png, 41 + 3 * 200, 3), (Bytes{0x92, 55, 200}));
    EXPECT_EQ(Decode(png).indexes, pixels);
}

TEST(Png, WriterRefusesWhatIsNoImageOfItsPalette) {
    const Bytes six = {0, 1, 2, 3, 4, 15};
    const Bytes sixteenth = {0, 1, 2, 3, 4, 16};
    const std::vector<RgbColor> none;
    const std::vector<RgbColor> tooMany(257, 0);
    const std::string noPixels =
        "a imagem não tem pixels, ou eles não preenchem a largura e a altura";
    const std::string notInPalette = "a paleta da imagem não tem todas as cores que os pixels usam";
    const std::pair<IndexedImage, std::string> cases[] = {
        {{3, 2, six, kSixteen, false}, ""},
        {{0, 2, six, kSixteen, false}, noPixels},
        {{3, 0, six, kSixteen, false}, noPixels},
        {{2, 2, six, kSixteen, false}, noPixels},
        {{3, 2, sixteenth, kSixteen, false}, notInPalette},
        {{3, 2, six, none, false}, notInPalette},
        {{3, 2, six, tooMany, false}, notInPalette},
    };
    for (const auto& [image, reason] : cases) {
        Bytes png = {1};
        const Failure failure = EncodeIndexedPng(image, png);
        EXPECT_EQ(failure.reason, reason);
        EXPECT_EQ(png.size() == 1, !reason.empty()) << reason;
    }
}

TEST(Png, PaletteReadBeforeThePixels) {
    std::vector<Rgb> entries;
    ASSERT_TRUE(ReadPngPlte(LibpngWrites(15), entries).ok());
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0], (Rgb{0, 0, 255}));
    EXPECT_EQ(entries[14], (Rgb{14, 28, 241}));
    // Everything after the first IDAT's type is never read.
    Bytes cut = LibpngWrites(16);
    const std::string text(cut.begin(), cut.end());
    cut.resize(text.find("IDAT") + 4);
    ASSERT_TRUE(ReadPngPlte(cut, entries).ok());
    EXPECT_EQ(entries.size(), 16u);
}

TEST(Png, PaletteReaderRefusals) {
    const std::string damaged = "o arquivo PNG está danificado ou termina antes dos seus pixels";
    const Bytes good = LibpngWrites(16);
    const std::size_t plte = std::string(good.begin(), good.end()).find("PLTE") + 4;
    Bytes badCrc = good;
    badCrc[plte] ^= 1;
    const Bytes cutInPlte = Slice(good, 0, plte + 20);
    Bytes notSigned = good;
    notSigned[1] = 'p';
    const std::pair<Bytes, std::string> cases[] = {
        {notSigned, "não é um arquivo PNG"},
        {kSignature, damaged},
        {badCrc, damaged},
        {cutInPlte, damaged},
        {LibpngWrites(0, false),
         "o PNG não é de cores indexadas (tipo de cor 3), então não tem paleta"},
    };
    for (const auto& [bytes, reason] : cases) {
        std::vector<Rgb> entries = {Rgb{1, 2, 3}};
        EXPECT_EQ(ReadPngPlte(bytes, entries).reason, reason);
        EXPECT_EQ(entries.size(), 1u); // unchanged
    }
}

} // namespace
