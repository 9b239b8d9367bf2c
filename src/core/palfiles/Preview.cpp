// The sample preview's images: the swatch colours go into both images' colour tables.
#include "palfiles/Preview.h"

#include <array>
#include <filesystem>
#include <string>

#include "palfiles/GifHeader.h"
#include "palfiles/PaletteFormats.h"
#include "platform/File.h"

namespace zandrel {

namespace {

// Opens a sample image for writing in place and checks that its colour table can take the
// palette. Nothing is written here; a missing image is never created.
Failure OpenSampleImage(const std::string& path, File& file) {
    FileStatus status;
    file = File::Open(path, OpenMode::ReadWriteExisting, status);
    if (!status.ok()) {
        if (status.error == FileError::NotFound)
            return Failure::CannotRead(path, status);
        FileStatus readStatus;
        if (File::Open(path, OpenMode::ReadOnly, readStatus); !readStatus.ok())
            return Failure::CannotRead(path, readStatus);
        return Failure::CannotWrite(path, status);
    }
    std::uint64_t size = 0;
    if (status = file.Size(size); !status.ok())
        return Failure::CannotRead(path, status);
    std::array<std::uint8_t, kGifHeaderSize> head{};
    if (status = file.ReadAt(0, head); !status.ok())
        return Failure::CannotRead(path, status);
    if (const Result result = CheckGifHeader(head, size); result != Result::Ok)
        return Failure::BadImage(result, path);
    return {};
}

} // namespace

Failure PatchSampleImages(const std::string& folder, const Palette16& colours) {
    const std::filesystem::path images(folder);
    const std::array<std::string, 2> paths{(images / kPreviewImage1).string(),
                                           (images / kPreviewImage2).string()};
    // Both images are checked before either is written, so a bad one leaves both unchanged.
    std::array<File, 2> files;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (Failure failure = OpenSampleImage(paths[i], files[i]); !failure.ok())
            return failure;

    const auto table = RgbTripleBytes(colours);
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileStatus status = files[i].WriteAt(kGifColourTableOffset, table);
        if (status.ok())
            status = files[i].Sync();
        if (status.ok())
            status = files[i].Close();
        if (!status.ok())
            return Failure::CannotWrite(paths[i], status);
    }
    return {};
}

} // namespace zandrel
