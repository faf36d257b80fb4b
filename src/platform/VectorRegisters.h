#pragma once

// Code built for the baseline x86-64 processor does its floating-point work with the old SSE
// encoding. When a library (Qt's raster fills among them) leaves the upper halves of the AVX
// registers in use, each such instruction on some processors waits for the previous value of its
// register, and the conversion's scalar loops run several times slower. Clearing the halves is
// one instruction; the converters do it after drawing glyphs and before each band and row.
namespace VectorRegisters {

// Marks the upper halves of the AVX registers unused, where the processor has AVX.
void clearUpperHalves();

} // namespace VectorRegisters
