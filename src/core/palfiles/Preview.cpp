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
    file = File::Open(path, OpenMode::ReadWriteNoLink, status);
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
// patch would not be refused there: both are files of their own (never links) it may write.
bool PatchesInPlace(const std::string& programFolder, const std::string& dataFolder) {
    if (std::filesystem::path(dataFolder).lexically_normal() !=
            std::filesystem::path(programFolder).lexically_normal() ||
        !IsWritable(dataFolder))
        return false;
    for (const char* name : kSampleImages)
        if (!IsPlainFile(PathIn(dataFolder, name)) || !IsWritable(PathIn(dataFolder, name)))
            return false;
    return true;
}

// Reads a sample image whole and checks it as the patch will.
Failure ReadSampleImage(const std::string& path, std::vector<std::uint8_t>& bytes) {
    if (const FileStatus status = ReadWholeFile(path, kMaxSampleImageSize, bytes); !status.ok())
        return Failure::CannotRead(path, status);
    return CheckGifHeader(path, bytes, bytes.size());
}

// A copy made by an earlier preview is kept, with the last palette shown, while it is a file
// of its own (no link, no pipe) that the patch takes and as long as the installed image
// (when that can be read). Anything else there is replaced, never followed or patched.
bool CopyIntact(const std::string& copy, const Failure& installed,
                const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> bytes;
    return IsPlainFile(copy) && ReadSampleImage(copy, bytes).ok() &&
           (!installed.ok() || bytes.size() == image.size());
}

} // namespace

Failure SampleImageFolder(const std::string& programFolder, const DataFolders& folders,
                          std::string& folder) {
    if (PatchesInPlace(programFolder, folders.data)) {
        folder = folders.data;
        return {};
    }
    // A cache folder that is not absolute would name wherever the program runs.
    if (!std::filesystem::path(folders.userCache).is_absolute())
        return Failure::Described({}, "A amostra não tem onde gravar as imagens: não há pasta "
                                      "pessoal (HOME) nem XDG_CACHE_HOME. Nada foi criado.");
    // Every image is read and checked before anything is copied, so a bad one copies nothing.
    std::array<std::vector<std::uint8_t>, 2> images;
    std::array<Failure, 2> installed;
    std::array<bool, 2> intact{};
    for (std::size_t i = 0; i < kSampleImages.size(); ++i) {
        installed[i] = ReadSampleImage(PathIn(folders.data, kSampleImages[i]), images[i]);
        intact[i] =
            CopyIntact(PathIn(folders.userCache, kSampleImages[i]), installed[i], images[i]);
        if (!intact[i] && !installed[i].ok())
            return installed[i];
    }
    for (std::size_t i = 0; i < kSampleImages.size(); ++i) {
        if (intact[i])
            continue;
        // A new file made beside it replaces whatever is there.
        const std::string copy = PathIn(folders.userCache, kSampleImages[i]);
        FileStatus status = CreateFolders(folders.userCache);
        if (status.ok())
            status = PlaceWholeFile(copy, images[i]);
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
