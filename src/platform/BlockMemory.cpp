#include "platform/BlockMemory.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tabulane {
namespace {

// The large page of x86-64 and of most ARM systems; on others the alignment only costs some address space.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

std::size_t WholePages(std::size_t bytes) {
    return (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

}  // namespace

void* AllocateBlockMemory(std::size_t bytes) {
    const std::size_t size = WholePages(bytes);
    void* memory = ::operator new (size, std::align_val_t{kLargePage});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only advice: where large pages are off or none is free, the small ones serve as before.
    madvise(memory, size, MADV_HUGEPAGE);
#endif
    return memory;
}

void FreeBlockMemory(void* memory) noexcept {
    ::operator delete (memory, std::align_val_t{kLargePage});
}

}  // namespace tabulane
