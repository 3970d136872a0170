#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "convert/Encodings.h"
#include "platform/BlockMemory.h"
#include "platform/FileSystem.h"

namespace tabulane {

// Block buffers from this size on take memory made for them (see BlockMemory.h).
inline constexpr std::size_t kBlockMemoryFrom = std::size_t{1} << 20;

// Leaves new elements uninitialised: the buffers are always written before they are read, and zeroing a
// megabyte for every small file of a batch would cost more than converting it.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <typename U>
    explicit UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count * sizeof(T) >= kBlockMemoryFrom) {
            return static_cast<T*>(AllocateBlockMemory(count * sizeof(T)));
        }
        return std::allocator<T>::allocate(count);
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        if (count * sizeof(T) >= kBlockMemoryFrom) {
            FreeBlockMemory(memory);
        } else {
            std::allocator<T>::deallocate(memory, count);
        }
    }

    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using Buffer = std::vector<T, UninitializedAllocator<T>>;

// Collects converted units and writes them in large blocks, in the file's byte order. Writing happens on this
// thread: the block is still in this core's cache, and handing it to a writer thread cost more than it overlapped.
template <typename Unit>
class UnitSink {
public:
    UnitSink(ByteWriter& writer, std::size_t capacity, bool swap)
        : m_writer(writer), m_buffer(std::max<std::size_t>(capacity, 1)), m_swap(swap) {}

    void Append(const Unit* data, std::size_t count) {
        while (count > m_buffer.size() - m_size) {
            const std::size_t room = m_buffer.size() - m_size;
            std::memcpy(m_buffer.data() + m_size, data, room * sizeof(Unit));
            m_size += room;
            data += room;
            count -= room;
            Flush();
        }
        std::memcpy(m_buffer.data() + m_size, data, count * sizeof(Unit));
        m_size += count;
    }

    void Append(const std::basic_string<Unit>& units) { Append(units.data(), units.size()); }

    void Put(Unit unit) {
        if (m_size == m_buffer.size()) {
            Flush();
        }
        m_buffer[m_size++] = unit;
    }

    // Room for at least `count` units, written directly; CommitTo then marks how far they were filled.
    Unit* Reserve(std::size_t count) {
        if (count > m_buffer.size() - m_size) {
            Flush();
            if (count > m_buffer.size()) {
                m_buffer.resize(count);
            }
        }
        return m_buffer.data() + m_size;
    }

    void CommitTo(const Unit* end) { m_size = static_cast<std::size_t>(end - m_buffer.data()); }

    // Writes what is collected and makes room for `capacity` units from here on.
    void Grow(std::size_t capacity) {
        Flush();
        if (capacity > m_buffer.size()) {
            m_buffer = Buffer<Unit>(capacity);
        }
    }

    // Writes what is collected.
    void Finish() { Flush(); }

private:
    void Flush() {
        if (m_size == 0) {
            return;
        }
        if (m_swap) {
            for (std::size_t i = 0; i < m_size; ++i) {
                m_buffer[i] = Swapped(m_buffer[i]);
            }
        }
        const std::size_t size = m_size;
        m_size = 0;
        m_writer.Write(reinterpret_cast<const char*>(m_buffer.data()), size * sizeof(Unit));
    }

    ByteWriter& m_writer;
    Buffer<Unit> m_buffer;
    std::size_t m_size = 0;
    bool m_swap;
};

}  // namespace tabulane
