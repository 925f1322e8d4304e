#include "core/graph/ColourTable.h"

#include <algorithm>

namespace saroko {

bool IndexColours(std::span<const uint32_t> pixels, std::span<uint8_t> indices,
                  std::vector<uint32_t>& table) {
    if (indices.size() < pixels.size())
        return false;
    // The graph's pixels come in long runs of one colour: the table is searched only where
    // the colour changes.
    uint32_t last = 0;
    uint8_t lastIndex = 0;
    bool any = false;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t c = pixels[i];
        if (!any || c != last) {
            const std::size_t at =
                static_cast<std::size_t>(std::find(table.begin(), table.end(), c) - table.begin());
            if (at == table.size()) {
                if (at == 256)
                    return false;
                table.push_back(c);
            }
            lastIndex = static_cast<uint8_t>(at);
            last = c;
            any = true;
        }
        indices[i] = lastIndex;
    }
    return true;
}

} // namespace saroko
