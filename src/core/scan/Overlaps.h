// Which candidates keep the bytes they stand for when several claim the same bytes.
#pragma once

#include <vector>

#include "scan/ScanContext.h"

namespace zandrel::scan {

// Likely blocks first (palettes of a clean LZ77 block at the default score or more: their
// stream's bytes are no raw palette, however much they look like one), then best first; a
// candidate whose bytes overlap one kept before it is dropped, except the other palettes of
// the same block.
std::vector<Found> KeepBestOfOverlaps(std::vector<Found> found);

} // namespace zandrel::scan
