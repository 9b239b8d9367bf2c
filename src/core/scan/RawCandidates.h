// Raw palette candidates: every 2-byte aligned window of 16 words with bit 15 clear that
// cheap counts do not rule out, scored with its surroundings. Internal to the scanner.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "scan/ScanContext.h"

namespace zandrel::scan {

// `progress` (when set) hears of the bytes passed every MiB or so.
void FindRawCandidates(const RomView& rom, const AlignedWords& aligned, std::vector<Found>& found,
                       const std::function<void(std::size_t, std::size_t)>& progress);

} // namespace zandrel::scan
