// For fuzz targets: makes AddressSanitizer report any read of the ring past a block's readable
// bytes, while the guard lives.
#pragma once
#include "engine/ring.h"

#include <sanitizer/asan_interface.h>

#include <cstddef>

class RingPoison {
  public:
    // Poisons from `begin` to the end of the ring; nothing when `begin` lies outside the ring.
    explicit RingPoison(const u8* begin) {
        if (!begin || begin < ring_base || begin >= ring_base + ring_size) return;
        begin_ = begin;
        bytes_ = size_t(ring_base + ring_size - begin_);
        ASAN_POISON_MEMORY_REGION(begin_, bytes_);
    }
    ~RingPoison() {
        if (begin_) ASAN_UNPOISON_MEMORY_REGION(begin_, bytes_);
    }
    RingPoison(const RingPoison&) = delete;
    RingPoison& operator=(const RingPoison&) = delete;

  private:
    const u8* begin_ = nullptr;
    size_t bytes_ = 0;
};
