// Indexed PNG files: the bytes the writer lays out, its pixels read back by libpng itself, and
// PLTE read from files libpng's own writer made.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "png/Png.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The colour indexes libpng's simplified reader finds in a PNG.
Bytes IndexesOf(const Bytes& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    Bytes colourMap(4 * 256), indexes(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, indexes.data(), 0, colourMap.data());
    return indexes;
}

// A 2x1 PNG made by libpng's own writer: indexed (4 bits per pixel up to 16 entries) with
// entry k = (k, 2k, 255 - k), or RGB.
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
    const Bytes png = Encode({3, 2, pixels, kSixteen, false});
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
    EXPECT_EQ(IndexesOf(png), pixels);
    // Index 0 transparent: a tRNS of one entry, 0, between PLTE and IDAT. (256 entries: the
    // same code; zandrel-cli's and the viewer's tests write them.)
    EXPECT_EQ(Slice(Encode({3, 2, pixels, kSixteen, true}), 93, 9), Chunk("tRNS", {0}));
}

TEST(Png, WriterRefusesWhatIsNoImageOfItsPalette) {
    const Bytes six = {0, 1, 2, 3, 4, 15};
    const Bytes sixteenth = {0, 1, 2, 3, 4, 16};
    const std::vector<RgbColor> none, tooMany(257, 0);
    const std::string noPixels =
        "a imagem não tem pixels, ou eles não preenchem a largura e a altura";
    const std::string notInPalette = "a paleta da imagem não tem todas as cores que os pixels usam";
    const std::pair<IndexedImage, std::string> cases[] = {
        {{3, 2, six, kSixteen, false}, ""},
        {{2, 2, six, kSixteen, false}, noPixels},
        {{3, 2, sixteenth, kSixteen, false}, notInPalette},
        {{3, 2, six, none, false}, notInPalette},
        {{3, 2, six, tooMany, false}, notInPalette},
    };
    for (const auto& [image, reason] : cases) {
        Bytes png = {1};
        EXPECT_EQ(EncodeIndexedPng(image, png).reason, reason);
        EXPECT_EQ(png.size() == 1, !reason.empty()) << reason;
    }
}

// Only what comes before the first IDAT is read; refusals leave the entries as they were.
TEST(Png, PaletteReadBeforeThePixels) {
    const Bytes good = LibpngWrites(16);
    const std::string text(good.begin(), good.end());
    const std::size_t plte = text.find("PLTE") + 4;
    Bytes badCrc = good;
    badCrc[plte] ^= 1;
    Bytes notSigned = good;
    notSigned[1] = 'p';
    const std::string damaged = "o arquivo PNG está danificado ou termina antes dos seus pixels";
    const std::tuple<Bytes, std::string, std::size_t> cases[] = {
        {LibpngWrites(15), "", 15},
        {Slice(good, 0, text.find("IDAT") + 4), "", 16},
        {notSigned, "não é um arquivo PNG", 1},
        {kSignature, damaged, 1},
        {badCrc, damaged, 1},
        {Slice(good, 0, plte + 20), damaged, 1},
        {LibpngWrites(0, false),
         "o PNG não é de cores indexadas (tipo de cor 3), então não tem paleta", 1},
    };
    for (const auto& [bytes, reason, size] : cases) {
        std::vector<Rgb> entries = {Rgb{1, 2, 3}};
        EXPECT_EQ(ReadPngPlte(bytes, entries).reason, reason);
        ASSERT_EQ(entries.size(), size) << reason;
        const int last = static_cast<int>(size) - 1; // libpng's entries are (k, 2k, 255 - k)
        const Rgb expected = size == 1 ? Rgb{1, 2, 3} : Rgb{last, 2 * last, 255 - last};
        EXPECT_EQ(entries.back(), expected);
    }
}

} // namespace
