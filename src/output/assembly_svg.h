// The SVG drawing of the pair zahnradpaar.svg: both gears placed as in zahnradpaar.dxf, one
// closed path each.
#pragma once

#include <cstdint>
#include <string_view>

#include "outline/progress.h"
#include "output/assembly_writer.h"
#include "output/svg_writer.h"

namespace kellvor {

// The part of the plane that holds both placed outlines, with the margin of a gear's drawing.
SvgBox assemblySvgBox(const AssemblyDrawing& drawing);

// Writes the whole document through svg (opened here with title): gear 1's path, then gear 2's;
// progress (may be empty) sees each tooth of both gears out of z1 + z2, and its false stops the
// writing (then false). False also when a write failed.
bool writeAssemblySvg(SvgOutlineWriter& svg, const AssemblyDrawing& drawing, std::string_view title,
                      const ProgressCallback& progress = {});

// Most bytes the pair's SVG drawing can take with a title of titleBytes.
std::uint64_t maxAssemblySvgBytes(const AssemblyDrawing& drawing, std::uint64_t titleBytes);

}  // namespace kellvor
