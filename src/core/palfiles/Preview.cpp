// The sample preview's images: the swatch colours go into both images' colour tables.
#include "palfiles/Preview.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "palfiles/GifHeader.h"
#include "palfiles/RgbTriples.h"
#include "platform/File.h"
#include "platform/FolderWrites.h"

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
    return CheckGifHeader(path, head, size);
}

const std::array<const char*, 2> kSampleImages{kPreviewImage1, kPreviewImage2};

std::string PathIn(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

// The images are patched where they lie only in the program's own folder, and only when the
// patch would not be refused there.
bool PatchesInPlace(const std::string& programFolder, const std::string& dataFolder) {
    if (std::filesystem::path(dataFolder).lexically_normal() !=
            std::filesystem::path(programFolder).lexically_normal() ||
        !IsWritable(dataFolder))
        return false;
    for (const char* name : kSampleImages)
        if (!IsWritable(PathIn(dataFolder, name)))
            return false;
    return true;
}

// Reads a sample image of the data folder whole and checks it as the patch will.
Failure ReadSampleImage(const std::string& path, std::vector<std::uint8_t>& bytes) {
    if (const FileStatus status = ReadWholeFile(path, kMaxSampleImageSize, bytes); !status.ok())
        return Failure::CannotRead(path, status);
    return CheckGifHeader(path, bytes, bytes.size());
}

} // namespace

Failure SampleImageFolder(const std::string& programFolder, const DataFolders& folders,
                          std::string& folder) {
    if (PatchesInPlace(programFolder, folders.data)) {
        folder = folders.data;
        return {};
    }
    // Copies made by an earlier preview are kept: they carry the last palette shown. A cache
    // folder that is not absolute would name wherever the program runs: nothing is copied or
    // patched there (CreateFolders refuses it).
    const bool cacheKnown = std::filesystem::path(folders.userCache).is_absolute();
    std::array<std::vector<std::uint8_t>, 2> copies;
    for (std::size_t i = 0; i < kSampleImages.size(); ++i)
        if (!cacheKnown || !FileExists(PathIn(folders.userCache, kSampleImages[i])))
            if (Failure failure =
                    ReadSampleImage(PathIn(folders.data, kSampleImages[i]), copies[i]);
                !failure.ok())
                return failure;
    for (std::size_t i = 0; i < kSampleImages.size(); ++i) {
        if (copies[i].empty()) // a checked image is never empty: this one is there already
            continue;
        const std::string copy = PathIn(folders.userCache, kSampleImages[i]);
        FileStatus status = CreateFolders(folders.userCache);
        if (status.ok())
            status = PlaceWholeFile(copy, copies[i]);
        if (!status.ok())
            return Failure::CannotWrite(copy, status);
    }
    folder = folders.userCache;
    return {};
}

Failure PatchSampleImages(const std::string& folder, const Palette16& colours) {
    const std::array<std::string, 2> paths{PathIn(folder, kPreviewImage1),
                                           PathIn(folder, kPreviewImage2)};
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
