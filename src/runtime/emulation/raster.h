#pragma once
// Pixel rules of the platform's 2D drawing that a back end without them computes itself: the
// colours of a two-colour gradient fill and the source pixel a nearest-neighbour stretch takes.
#include <cstdint>

#include "runtime/drawing_surface.h"

namespace tolvenar {

// The colour at `position` (0 to length - 1) of a gradient running from `from` to `to` over
// `length` pixels, each channel the 16-bit vertex value blended linearly and cut to 8 bits.
Colour GradientColourAt(const TriVertex& from, const TriVertex& to, std::int32_t position,
                        std::int32_t length);

// The source index (0 to source_length - 1) a stretch of `source_length` pixels over
// `dest_length` pixels shows at destination index `dest_index`, whichever way it stretches.
std::int32_t StretchSourceIndex(std::int32_t dest_index, std::int32_t dest_length,
                                std::int32_t source_length);

}  // namespace tolvenar
