#pragma once

#include <cstddef>

namespace tabulane {

// Memory for the megabyte blocks a conversion streams through, laid out so that the system can back it with large
// pages where it has them: one page fault for each block instead of hundreds, which on a virtual machine costs
// milliseconds a file. Free it with FreeBlockMemory. Throws std::bad_alloc.
void* AllocateBlockMemory(std::size_t bytes);
void FreeBlockMemory(void* memory) noexcept;

}  // namespace tabulane
