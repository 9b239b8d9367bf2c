// Raw palette candidates: in every run of at least 16 words with bit 15 clear, the windows of
// 16 words that cheap counts do not rule out get their evidence and score, and one set of
// windows that do not overlap is kept per run: the set whose chances add up to the most, so a
// table of palettes keeps its own 32-byte grid and no window across two of them is offered;
// each window kept is scored again among the windows kept around it (scan/KeptScore.h).
// Internal to the scanner.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "scan/KeptScore.h"
#include "scan/ScanContext.h"
#include "util/SharedWork.h"

namespace zandrel::scan {

// `progress` (when set) hears of the bytes passed every MiB or so, on the calling thread. The
// file is cut into parts of about `partBytes` between runs, which the machine's threads share:
// the candidates are the same however it is cut.
void FindRawCandidates(const RomView& rom, const AlignedWords& aligned, std::vector<Found>& found,
                       const std::function<void(std::size_t, std::size_t)>& progress,
                       std::size_t partBytes = kSharedPartBytes);

// The cheap counts of every window of every run, by its file offset, in file order (for
// fitting the weights).
void EachCountedWindow(const RomView& rom,
                       const std::function<void(std::size_t, const WindowCountValues&)>& each);

// The evidence of every window the counts let through, by its file offset, in file order (for
// fitting the weights on ROMs whose palettes are known).
void EachRawWindow(const RomView& rom, const AlignedWords& aligned,
                   const std::function<void(std::size_t, const EvidenceValues&)>& each);

// The evidence among the windows kept around it of every window kept, by its file offset, in
// file order (for fitting the weights of KeptChance).
void EachKeptWindow(const RomView& rom, const AlignedWords& aligned,
                    const std::function<void(std::size_t, const KeptEvidenceValues&)>& each);

} // namespace zandrel::scan
