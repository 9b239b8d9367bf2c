#include "png/Png.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <new>

#include <png.h>

namespace zandrel {

// libpng reports a failure by calling the error function, which must not return: OnError
// leaves by png_longjmp to the setjmp in WriteSteps or ReadSteps. Those two functions make
// every libpng call of a write or a read, and neither they nor the callbacks a jump leaves
// hold an object with a destructor, so the jump skips none; what needs freeing is owned by
// the callers (PngStructs, the output vector), which the jump never leaves.

namespace {

constexpr std::size_t kSignatureBytes = 8;
// Chunks before the first IDAT that libpng keeps in memory; the largest a palette file
// needs is PLTE's 768 bytes.
constexpr png_alloc_size_t kLargestKeptChunk = 64 * 1024;

// libpng's message is not shown (the program speaks Portuguese); a failure is one fact.
[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The read and write structures of one use of libpng, freed on every path.
class PngStructs {
  public:
    explicit PngStructs(bool writing) : writing_(writing) {
        png_ = writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning)
                       : png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png_ != nullptr)
            info_ = png_create_info_struct(png_);
    }
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;
    ~PngStructs() {
        if (writing_)
            png_destroy_write_struct(&png_, &info_);
        else
            png_destroy_read_struct(&png_, &info_, nullptr);
    }
    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    bool writing_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

void AppendBytes(png_structp png, png_bytep data, std::size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended)
        png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

bool WriteSteps(png_structp png, png_infop info, const IndexedImage* image,
                const png_color* palette, std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->width),
                 static_cast<png_uint_32>(image->height), 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, static_cast<int>(image->palette.size()));
    png_byte transparent = 0;
    if (image->transparentZero)
        png_set_tRNS(png, info, &transparent, 1, nullptr);
    png_write_info(png, info);
    for (int y = 0; y < image->height; ++y)
        png_write_row(png, image->pixels.data() + static_cast<std::size_t>(y) * image->width);
    png_write_end(png, nullptr);
    return true;
}

struct ReadSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

void TakeBytes(png_structp png, png_bytep data, std::size_t length) {
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->at < length)
        png_error(png, "truncated");
    std::memcpy(data, source->bytes.data() + source->at, length);
    source->at += length;
}

struct PaletteChunk {
    int colourType = 0;
    int entries = 0;
    std::array<png_color, kLargestPngPalette> colours{};
};

bool ReadSteps(png_structp png, png_infop info, ReadSource* source, PaletteChunk* chunk) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, source, TakeBytes);
    // Text, colour profiles and the rest are never decompressed nor kept.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(png, kLargestKeptChunk);
    png_read_info(png, info); // stops at the first IDAT
    chunk->colourType = png_get_color_type(png, info);
    png_colorp colours = nullptr;
    if (png_get_PLTE(png, info, &colours, &chunk->entries) != 0) {
        chunk->entries = std::min(chunk->entries, static_cast<int>(kLargestPngPalette));
        std::copy_n(colours, chunk->entries, chunk->colours.begin());
    }
    return true;
}

Failure Refused(const char* reason) {
    return Failure::FileRefused({}, reason);
}

} // namespace

bool StartsAsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kSignatureBytes && png_sig_cmp(bytes.data(), 0, kSignatureBytes) == 0;
}

Failure EncodeIndexedPng(const IndexedImage& image, std::vector<std::uint8_t>& png) {
    const std::size_t entries = image.palette.size();
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return Refused("a imagem não tem pixels, ou eles não preenchem a largura e a altura");
    if (entries == 0 || entries > kLargestPngPalette ||
        std::ranges::any_of(image.pixels, [entries](std::uint8_t i) { return i >= entries; }))
        return Refused("a paleta da imagem não tem todas as cores que os pixels usam");
    std::array<png_color, kLargestPngPalette> palette{};
    std::ranges::transform(image.palette, palette.begin(), [](RgbColor c) {
        return png_color{static_cast<png_byte>(c & 0xFF), static_cast<png_byte>(c >> 8 & 0xFF),
                         static_cast<png_byte>(c >> 16 & 0xFF)};
    });
    std::vector<std::uint8_t> bytes;
    const PngStructs structs(true);
    if (!structs.ok() || !WriteSteps(structs.png(), structs.info(), &image, palette.data(), &bytes))
        return Refused("não foi possível montar a imagem PNG (falta memória)");
    png = std::move(bytes);
    return {};
}

Failure ReadPngPlte(std::span<const std::uint8_t> png, std::vector<Rgb>& entries) {
    if (!StartsAsPng(png))
        return Refused("não é um arquivo PNG");
    ReadSource source{png, 0};
    PaletteChunk chunk;
    const PngStructs structs(false);
    if (!structs.ok() || !ReadSteps(structs.png(), structs.info(), &source, &chunk))
        return Refused("o arquivo PNG está danificado ou termina antes dos seus pixels");
    if (chunk.colourType != PNG_COLOR_TYPE_PALETTE)
        return Refused("o PNG não é de cores indexadas (tipo de cor 3), então não tem paleta");
    entries.clear();
    std::transform(chunk.colours.begin(), chunk.colours.begin() + chunk.entries,
                   std::back_inserter(entries), [](const png_color& c) {
                       return Rgb{c.red, c.green, c.blue};
                   });
    return {};
}

} // namespace zandrel
