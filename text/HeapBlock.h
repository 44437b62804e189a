#pragma once
// CHeapBlock: a block from the C runtime's heap (malloc), freed when it
// goes out of scope; ReadWholeFile's buffers and the language table's
// texts come as such blocks.

#include <stdlib.h>

template <class T> class CHeapBlock {
  public:
    CHeapBlock() = default;
    explicit CHeapBlock(T* block) : m_block(block) {}
    ~CHeapBlock() { free(m_block); }
    CHeapBlock(const CHeapBlock&) = delete;
    CHeapBlock& operator=(const CHeapBlock&) = delete;

    explicit operator bool() const { return m_block != nullptr; }
    T* Get() const { return m_block; }
    operator T*() const { return m_block; }
    // Frees the block held and takes `block` instead (null: none).
    void Reset(T* block = nullptr) {
        free(m_block);
        m_block = block;
    }

  private:
    T* m_block = nullptr;
};
