#pragma once

// A conversion allocates megabytes (the picture's pixels and lumas, the lines of text) and frees
// them at its end. By default the C library hands blocks that large back to the system, so the
// next conversion gets fresh pages, and on virtual machines the first touch of a fresh page can
// cost more than the work done on it (a 2 MB page several milliseconds). Called once at the
// start of the program, this keeps up to 128 MB of freed memory in the process for the next
// conversion.
namespace MemoryReuse {

void keepFreedMemory();

} // namespace MemoryReuse
