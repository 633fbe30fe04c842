#pragma once

#include <QHashFunctions>
#include <QtGlobal>
#include <cstddef>
#include <vector>

namespace emulator {

// Finds items (numbered from 0, kept elsewhere) by hash: open addressing
// over one flat table of (tag, item) pairs, with no node per item, so that a
// file of a million settings is indexed in a few bytes each.
class HashIndex final {
public:
    static constexpr quint32 kNone = 0xffffffffu;

    // Seeded afresh in each process, so that no file can be made up to
    // collide in every slot and slow a reader down to a crawl.
    static size_t hashOf(QByteArrayView text, size_t salt = 0) {
        return qHash(text, QHashSeed::globalSeed() + salt);
    }

    // The item with this hash for which `same(item)` holds, or kNone.
    template <typename Same> quint32 find(size_t hash, Same same) const {
        if (m_slots.empty())
            return kNone;
        const quint32 tag = tagOf(hash);
        for (std::size_t i = home(tag);; i = (i + 1) & mask()) {
            const quint64 slot = m_slots[i];
            if (slot == 0)
                return kNone;
            const quint32 item = quint32(slot) - 1;
            if (quint32(slot >> 32) == tag && same(item))
                return item;
        }
    }

    // Asks for the memory a look for this hash starts at, ahead of it.
    void prefetch(size_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        if (!m_slots.empty())
            __builtin_prefetch(&m_slots[home(tagOf(hash))]);
#else
        (void)hash;
#endif
    }

    // Adds an item that is not there yet.
    void add(size_t hash, quint32 item) {
        // At most four fifths full: short probes, and a small table.
        if ((m_count + 1) * 5 > m_slots.size() * 4)
            grow();
        place((quint64(tagOf(hash)) << 32) | (quint64(item) + 1));
        ++m_count;
    }

private:
    // Fibonacci hashing: the top bits of the tag pick the slot, so the table
    // grows without asking the items for their hashes again.
    static quint32 tagOf(size_t hash) {
        return quint32((quint64(hash) * 0x9E3779B97F4A7C15ull) >> 32);
    }
    // The growing table keeps the slots in the order of their tags, so
    // that moving them over writes almost in order too.
    std::size_t home(quint32 tag) const {
        return std::size_t(tag >> (32 - m_bits));
    }
    std::size_t mask() const {
        return m_slots.size() - 1;
    }

    void place(quint64 slot) {
        for (std::size_t i = home(quint32(slot >> 32));; i = (i + 1) & mask()) {
            if (m_slots[i] == 0) {
                m_slots[i] = slot;
                return;
            }
        }
    }

    void grow() {
        std::vector<quint64> old;
        old.swap(m_slots);
        m_bits = m_bits == 0 ? 4 : m_bits + 1;
        m_slots.assign(std::size_t(1) << m_bits, 0);
        for (const quint64 slot : old) {
            if (slot != 0)
                place(slot);
        }
    }

    std::vector<quint64> m_slots;
    int m_bits = 0;
    std::size_t m_count = 0;
};

} // namespace emulator
