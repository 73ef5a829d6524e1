#pragma once

#include <QtGlobal>

#include <vector>

// A small open-addressing hash table from 64-bit keys (numbers, bit patterns of reals,
// addresses) to values, for the property-list writer's tables of values already written and the
// keyed decoder's keys: one allocation for the whole table instead of one per entry.
template <class Value> class FlatHash
{
public:
    // The value stored under the key, inserting def first when the key is new. *inserted
    // tells which happened. The reference is valid until the next call.
    Value &findOrInsert(quint64 key, Value def, bool *inserted)
    {
        if ((m_size + 1) * 2 > m_slots.size())
            grow();
        size_t i = slotOf(key);
        while (m_slots[i].used) {
            if (m_slots[i].key == key) {
                *inserted = false;
                return m_slots[i].value;
            }
            i = (i + 1) & (m_slots.size() - 1);
        }
        m_slots[i] = {key, def, true};
        ++m_size;
        *inserted = true;
        return m_slots[i].value;
    }

    // The value under the key, or nullptr.
    Value *find(quint64 key)
    {
        if (m_slots.empty())
            return nullptr;
        for (size_t i = slotOf(key); m_slots[i].used; i = (i + 1) & (m_slots.size() - 1)) {
            if (m_slots[i].key == key)
                return &m_slots[i].value;
        }
        return nullptr;
    }

    size_t size() const { return m_size; }

    void clear()
    {
        m_slots.clear();
        m_size = 0;
    }

private:
    struct Slot
    {
        quint64 key = 0;
        Value value{};
        bool used = false;
    };

    size_t slotOf(quint64 key) const
    {
        // splitmix64 finaliser: spreads neighbouring keys over the table.
        key ^= key >> 30;
        key *= 0xbf58476d1ce4e5b9ULL;
        key ^= key >> 27;
        key *= 0x94d049bb133111ebULL;
        key ^= key >> 31;
        return size_t(key) & (m_slots.size() - 1);
    }

    void grow()
    {
        std::vector<Slot> old;
        old.swap(m_slots);
        m_slots.resize(old.empty() ? 64 : old.size() * 2);
        m_size = 0;
        bool inserted = false;
        for (const Slot &slot : old) {
            if (slot.used)
                findOrInsert(slot.key, slot.value, &inserted);
        }
    }

    std::vector<Slot> m_slots;
    size_t m_size = 0;
};
