// Shapes rasterised in software for the simulated canvas. The pixels agree
// with GDI where tests look (corners and midpoints of outlines, the inside of
// a filled shape, both ends of a line) without chasing its exact
// rasterisation. Every pixel a shape touches is painted once, through the
// canvas's binary raster operation, so an inverting pen drawn twice leaves
// the picture as it was, as on screen.
#pragma once

#include "runtime/core/engine/canvas.h"
#include "runtime/core/picture/bitmap.h"

namespace vorn::sim {

// Paints a rectangle, ellipse, line or polygon onto `pixels`; text is left
// to the display list.
void paint_shape(picture::Image& pixels, const runtime::DrawOp& op);

} // namespace vorn::sim
