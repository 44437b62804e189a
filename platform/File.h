#pragma once
// CFile: one file opened for reading or created for writing, closed when
// it goes out of scope. After a failed Open or Create the object holds no
// file and GetLastError says why.

#include <stddef.h>

#include "platform/Handle.h"
#include "text/HeapBlock.h"

class CFile {
  public:
    // Opens the existing file `path` for reading; others may read it too.
    bool Open(const char* path);
    // Creates `path` for writing, in place of any file of that name.
    bool Create(const char* path);

    // The whole file in a heap block of its size plus a terminating NUL;
    // `size` gets its size without the NUL. None when it is larger than `limit` bytes (checked
    // before anything is read; `size` then gets the size, or SIZE_MAX when the system cannot tell
    // it) or cannot be read whole (`size` unchanged).
    CHeapBlock<char> ReadWhole(size_t limit, size_t& size);
    // Writes `size` bytes; false unless every one was written.
    bool Write(const void* data, size_t size);
    // Closes the file; false when the system reports a failure, and then a
    // file written may lack its last bytes.
    bool Close() { return m_file.Close(); }

  private:
    CFileHandle m_file;
};
