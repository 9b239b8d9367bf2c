// Raw palette candidates: every 2-byte aligned window of 16 words with bit 15 clear that
// cheap counts do not rule out, scored with its surroundings. Internal to the scanner.
#pragma once

#include <vector>

#include "scan/ScanContext.h"

namespace zandrel::scan {

void FindRawCandidates(const RomView& rom, const AlignedWords& aligned, std::vector<Found>& found);

} // namespace zandrel::scan
