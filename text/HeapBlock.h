#pragma once
// CHeapBlock: a block from the C runtime's heap (malloc), freed when it
// goes out of scope; functions that hand out a block (a whole file read,
// a language table's text) return one. It moves from owner to owner, and
// hands out its pointer only when asked (Get), never by a conversion.
// C runtime only, for text/ and the rooms above.

#include <stdlib.h>

template <class T> class CHeapBlock {
  public:
    CHeapBlock() = default;
    // None, so that `found ? Read(...) : nullptr` reads as a block.
    CHeapBlock(decltype(nullptr)) {}
    explicit CHeapBlock(T* block) : m_block(block) {}
    ~CHeapBlock() { free(m_block); }
    CHeapBlock(const CHeapBlock&) = delete;
    CHeapBlock& operator=(const CHeapBlock&) = delete;
    CHeapBlock(CHeapBlock&& other) : m_block(other.Detach()) {}
    CHeapBlock& operator=(CHeapBlock&& other) {
        Reset(other.Detach());
        return *this;
    }

    explicit operator bool() const { return m_block != nullptr; }
    T* Get() const { return m_block; }
    T& operator[](size_t index) const { return m_block[index]; }
    // Hands the block to the caller, who frees it; holds none afterwards.
    T* Detach() {
        T* block = m_block;
        m_block = nullptr;
        return block;
    }
    // Frees the block held and takes `block` instead (null: none).
    void Reset(T* block = nullptr) {
        free(m_block);
        m_block = block;
    }
    // Makes the block `count` items long, keeping what it holds (realloc);
    // false, with the block as it was, when the heap has no room.
    bool Resize(size_t count) {
        void* resized = realloc(m_block, count * sizeof(T));
        if (!resized)
            return false;
        m_block = static_cast<T*>(resized);
        return true;
    }

  private:
    T* m_block = nullptr;
};
