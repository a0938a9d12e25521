#pragma once

// The sizes a layout pass has already worked out, by node, offered width and
// the parts of the inherited style that change a size. A pass asks the same
// node the same question many times (a stack asks for the smallest, the ideal
// and the offered width, then places); an open-addressed table in one block
// answers without allocating per entry, and a layout that keeps its table
// empties it at once for the next pass.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace desktop::ui {

class FitCache {
public:
    struct Key {
        const void* node = nullptr;
        double width = 0;
        double fontSize = 0;
        int flags = 0;
        bool operator==(const Key&) const = default;
    };

    std::optional<platform::Size> find(const Key& key) const {
        if (slots_.empty()) return std::nullopt;
        for (std::size_t i = hash(key) & mask();; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (slot.generation != generation_) return std::nullopt;
            if (slot.key == key) return slot.size;
        }
    }

    void insert(const Key& key, platform::Size size) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        for (std::size_t i = hash(key) & mask();; i = (i + 1) & mask()) {
            Slot& slot = slots_[i];
            const bool used = slot.generation == generation_;
            if (used && !(slot.key == key)) continue;
            if (!used) ++count_;
            slot = {key, size, generation_};
            return;
        }
    }

    // Forgets every entry at once: slots of an older generation count as empty.
    void clear() {
        if (count_ == 0) return;
        count_ = 0;
        if (++generation_ == 0) {
            slots_.assign(slots_.size(), Slot{});
            generation_ = 1;
        }
    }

private:
    struct Slot {
        Key key;
        platform::Size size;
        std::uint32_t generation = 0;
    };
    static constexpr std::size_t firstCapacity = 64;

    std::size_t mask() const { return slots_.size() - 1; }

    static std::size_t hash(const Key& key) {
        std::uint64_t width, font;
        std::memcpy(&width, &key.width, sizeof width);
        std::memcpy(&font, &key.fontSize, sizeof font);
        std::uint64_t h = reinterpret_cast<std::uintptr_t>(key.node) * 0x9e3779b97f4a7c15ULL;
        h ^= (width + 0x632be59bd9b4e019ULL) * 0xbf58476d1ce4e5b9ULL;
        h ^= (font ^ static_cast<std::uint64_t>(key.flags)) * 0x94d049bb133111ebULL;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }

    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? firstCapacity : old.size() * 2, Slot{});
        count_ = 0;
        for (const Slot& slot : old)
            if (slot.generation == generation_) insert(slot.key, slot.size);
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    std::uint32_t generation_ = 1;
};

}  // namespace desktop::ui
