// All dynamic memory of the library comes from the host heap, so the host may free
// whatever the library creates. These operators stay inside the library: the
// export list names only the entry points and classes, so they never replace the
// operators of the host process.
#include <cstddef>
#include <new>

#include "qtvexp/api.h"

namespace {
void* AllocateOrThrow(std::size_t bytes) {
    void* block = MyAllocate(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
}  // namespace

void* operator new(std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return MyAllocate(bytes == 0 ? 1 : bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return MyAllocate(bytes == 0 ? 1 : bytes); }
void operator delete(void* block) noexcept { MyFree(block); }
void operator delete[](void* block) noexcept { MyFree(block); }
void operator delete(void* block, std::size_t) noexcept { MyFree(block); }
void operator delete[](void* block, std::size_t) noexcept { MyFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { MyFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { MyFree(block); }
