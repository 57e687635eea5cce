// SPDX-License-Identifier: GPL-3.0-or-later
// Records of one type made in blocks instead of one allocation each, each staying where it was
// made until it is released; released places are used again.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace vendle {

template <typename T> class RecordPool {
public:
    RecordPool() = default;
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;
    // The owner releases every record it made before the pool goes.
    ~RecordPool() = default;

    // Room for `count` more records in one block, so that a long run of makes allocates once.
    void reserve(std::size_t count) {
        if (count > spare())
            addBlock(count - spare());
    }

    // A new record, default-constructed.
    T* make() {
        Slot* slot = free_;
        if (slot)
            free_ = slot->next;
        else {
            if (spare() == 0)
                addBlock(std::max<std::size_t>(kMinBlock, made_ / 4));
            slot = &blocks_.back().places[blocks_.back().used++];
        }
        ++made_;
        return std::construct_at(&slot->record);
    }

    // Destroys a record made here; its place is used again.
    void release(T* record) {
        std::destroy_at(record);
        // The record is the slot's only member in use, at its start.
        Slot* slot = reinterpret_cast<Slot*>(record);
        slot->next = free_;
        free_ = slot;
        --made_;
    }

    std::size_t size() const { return made_; }

private:
    static constexpr std::size_t kMinBlock = 256;
    union Slot {
        Slot() {}  // NOLINT(modernize-use-equals-default): leaves the record unmade
        ~Slot() {} // NOLINT(modernize-use-equals-default): the owner releases the record
        T record;
        Slot* next;
    };
    struct Block {
        std::unique_ptr<Slot[]> places;
        std::size_t size = 0;
        std::size_t used = 0;
    };
    std::size_t spare() const { return blocks_.empty() ? 0 : blocks_.back().size - blocks_.back().used; }
    void addBlock(std::size_t size) { blocks_.push_back({std::make_unique<Slot[]>(size), size, 0}); }

    std::vector<Block> blocks_;
    Slot* free_ = nullptr;
    std::size_t made_ = 0; // records alive
};

} // namespace vendle
