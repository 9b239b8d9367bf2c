// The sample images' check: any bytes are accepted only when they are a GIF whose global
// colour table takes sixteen colours inside the file.
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

// The preview's patch with the input as both images: a refused image is left as it was, an
// accepted one changes in bytes 13 to 60 (the sixteen colours) only.
void CheckPatch(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> before(data, data + size);
    for (const char* image : {kPreviewImage1, kPreviewImage2})
        fuzz::WriteFile(fuzz::ScratchFolder() / image, fuzz::AsText(data, size));
    testing::FakeServices services;
    services.programFolder = fuzz::ScratchFolder().string();
    AppState app;
    MainForm form(app, services);
    for (std::size_t i = 0; i < form.model().Opt.size(); ++i)
        form.model().Opt[i].backColor = MakeColor(int(i), 0x80, 0xF0);
    std::string patched;
    const Failure failure = form.PatchPreviewImages(patched);
    FUZZ_CHECK(failure.result == Expected(data, size, size));
    for (const char* image : {kPreviewImage1, kPreviewImage2}) {
        const std::vector<std::uint8_t> after = fuzz::ReadFile(fuzz::ScratchFolder() / image);
        FUZZ_CHECK(after.size() == size);
        for (std::size_t k = 0; k < size; ++k) {
            const bool colour = failure.ok() && k >= 13 && k < 61;
            const int expected = (k - 13) % 3 == 0   ? int((k - 13) / 3)
                                 : (k - 13) % 3 == 1 ? 0x80
                                                     : 0xF0;
            FUZZ_CHECK(after[k] == (colour ? expected : before[k]));
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
