// The byte viewer of memory-dump palettes.
#include <cmath>
#include <limits>
#include <optional>

#include "app/MainForm.h"
#include "special/ByteDump.h"
#include "util/NumberText.h"

namespace zandrel {

void MainForm::cmdExibir_Click() {
    const int row = model_.List1.selected;
    // The location text is taken as stored, not upper-cased.
    const std::int32_t location = HexToNumber(model_.lstColor.Row(row));

    const double number = LeadingNumber(model_.lstCount.Row(row));
    const std::optional<std::int16_t> rounded = RoundToInt16(number);
    int count = 0;
    if (rounded) {
        count = *rounded;
    } else if (number > 0) {
        // Too large even for a 16-bit count: refused like any count whose bytes do not fit.
        ReportFailure(Failure::CountTooLarge(app_.RomPath,
                                             std::isfinite(number) && number < 9.2e18
                                                 ? static_cast<std::int64_t>(std::llround(number))
                                                 : std::numeric_limits<std::int64_t>::max()));
        return;
    }
    // A count below -32768 means no colours, like any other count of 0 or less.

    std::string text;
    if (Failure failure = BuildByteDump(app_.RomPath, location, count, text); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    app_.ByteDumpText = text;
    services_.ShowByteWindow(app_.ByteDumpText);
}

} // namespace zandrel
