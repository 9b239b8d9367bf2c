// The sample images' check: any bytes are accepted only when they are a GIF whose global
// colour table takes sixteen colours inside the file, and the preview patch writes exactly
// bytes 13 to 60 of such images and nothing at all otherwise.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "../tests/core/FakeServices.h"
#include "FuzzSupport.h"
#include "app/MainForm.h"
#include "palfiles/GifHeader.h"
#include "palfiles/Preview.h"

using namespace zandrel;

namespace {

// The check written out plainly, to hold the real one to.
Result Expected(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize) {
    const std::uint64_t known = std::min<std::uint64_t>(headSize, fileSize);
    const bool gif =
        known >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0);
    if (!gif)
        return Result::ImageNotGif;
    if (known < 13)
        return Result::ImageTooShort;
    if ((head[10] & 0x80) == 0)
        return Result::ImageNoColourTable;
    if ((head[10] & 7) < 3)
        return Result::ImageSmallColourTable;
    return fileSize < 61 ? Result::ImageTooShort : Result::Ok;
}

std::vector<std::uint8_t> GoodImage() {
    std::vector<std::uint8_t> image(13 + 48 + 8, 0x5A);
    std::memcpy(image.data(), "GIF89a", 6);
    image[10] = 0x83;
    return image;
}

// Runs the preview's patch with the input as the first image and a good second image.
void CheckPatch(const std::uint8_t* data, std::size_t size) {
    const auto& folder = fuzz::ScratchFolder();
    const auto first = folder / kPreviewImage1;
    const auto second = folder / kPreviewImage2;
    fuzz::WriteFile(first, fuzz::AsText(data, size));
    const std::vector<std::uint8_t> good = GoodImage();
    fuzz::WriteFile(second, {reinterpret_cast<const char*>(good.data()), good.size()});

    testing::FakeServices services;
    services.programFolder = folder.string();
    AppState app;
    MainForm form(app, services);
    for (std::size_t i = 0; i < form.model().Opt.size(); ++i)
        form.model().Opt[i].backColor = MakeColor(int(i), 0x80 + int(i), 0xF0 - int(i));
    std::string patched;
    const Failure failure = form.PatchPreviewImages(patched);

    const std::vector<std::uint8_t> before(data, data + size);
    const std::vector<std::uint8_t> firstAfter = fuzz::ReadFile(first);
    const std::vector<std::uint8_t> secondAfter = fuzz::ReadFile(second);
    FUZZ_CHECK(firstAfter.size() == size && secondAfter.size() == good.size());
    const Result expected = Expected(data, size, size);
    FUZZ_CHECK(failure.result == expected);
    if (!failure.ok()) {
        FUZZ_CHECK(firstAfter == before && secondAfter == good);
        return;
    }
    for (std::size_t k = 0; k < size; ++k) {
        if (k >= 13 && k < 61) {
            const std::size_t colour = (k - 13) / 3;
            const int component = int((k - 13) % 3);
            const int value = component == 0   ? int(colour)
                              : component == 1 ? 0x80 + int(colour)
                                               : 0xF0 - int(colour);
            FUZZ_CHECK(firstAfter[k] == value && secondAfter[k] == value);
        } else {
            FUZZ_CHECK(firstAfter[k] == before[k]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The head as read from the file, with the file's real length.
    FUZZ_CHECK(CheckGifHeader({data, size}, size) == Expected(data, size, size));
    // A length told apart from the bytes: a file longer than the bytes read, or shorter.
    if (size >= 8) {
        std::uint64_t declared = 0;
        std::memcpy(&declared, data, sizeof declared);
        declared %= 1u << 20;
        const std::uint8_t* head = data + 8;
        const std::size_t headSize = std::min<std::size_t>(size - 8, kGifHeaderSize);
        FUZZ_CHECK(CheckGifHeader({head, headSize}, declared) ==
                   Expected(head, headSize, declared));
    }
    if (size <= 256)
        CheckPatch(data, size);
    return 0;
}
