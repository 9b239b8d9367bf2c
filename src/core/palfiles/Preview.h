// The two sample images beside the program that the preview shows in the edited palette.
#pragma once

#include <cstdint>
#include <string>

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

// Writes the colours into the first sixteen entries of both images' colour tables in
// `folder`. Both images are checked before either is written, so a bad one leaves both
// unchanged; a missing image is never created.
Failure PatchSampleImages(const std::string& folder, const Palette16& colours);

} // namespace zandrel
