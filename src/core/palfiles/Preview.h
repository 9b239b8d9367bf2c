// The two sample images that the preview shows in the edited palette.
#pragma once

#include <cstdint>
#include <string>

#include "platform/DataFolders.h"
#include "platform/Failure.h"
#include "util/ColourTypes.h"

namespace zandrel {

inline constexpr const char* kPreviewImage1 = "preview01.gif";
inline constexpr const char* kPreviewImage2 = "preview02.gif";
// The Kemrith game has a picture of its own; the first game's is everyone else's.
inline constexpr std::int16_t kSecondImageGame = 3;
inline constexpr std::int16_t kFirstImageGame = 0;

// The name of the image the preview window shows for the last identified game.
inline const char* PreviewImageName(std::int16_t gameIndex) {
    return gameIndex == kSecondImageGame ? kPreviewImage2 : kPreviewImage1;
}

// The largest sample image copied into the cache, far above any picture the window shows.
inline constexpr std::uint64_t kMaxSampleImageSize = std::uint64_t{16} << 20;

// The folder whose images the preview patches and shows, in `folder`. The data folder when it
// is the program's own folder and it and both images there (files of their own, no links)
// can be written (a build tree, a portable copy); otherwise the user's cache folder, made with
// its parents. A copy there is kept while it is a file of its own that the patch takes and
// as long as the installed image; anything else at its name (missing, a link, a pipe, cut
// short, no GIF, a colour table too small) is replaced by a fresh copy of the data folder's
// image, made beside it and renamed over it, never written through. Every image to copy is
// checked first, so a bad one copies nothing. An installed data folder is never written,
// whoever runs the program; without a cache folder (no home) nothing is created and the
// failure says the preview has nowhere to write.
Failure SampleImageFolder(const std::string& programFolder, const DataFolders& folders,
                          std::string& folder);

// Writes the colours into the first sixteen entries of both images' colour tables in
// `folder`. Both images are checked before either is written, so a bad one leaves both
// unchanged; a missing image is never created, and a link is never written through.
Failure PatchSampleImages(const std::string& folder, const Palette16& colours);

} // namespace zandrel
