#pragma once
// A picture of few colours as one byte per pixel, an index into the table of its colours.
#include <cstdint>
#include <span>
#include <vector>

namespace saroko {

// Fills `indices` (one per pixel) and extends `table` by the colours not yet in it, in order of
// first appearance; row by row, one table serves a whole picture. Returns false when the table
// would hold more than 256 colours; `indices` is then unusable.
bool IndexColours(std::span<const uint32_t> pixels, std::span<uint8_t> indices,
                  std::vector<uint32_t>& table);

} // namespace saroko
