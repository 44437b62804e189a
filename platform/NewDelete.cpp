// operator new and delete on malloc/free. The C++ library's own operator new
// throws std::bad_alloc and so drags the exception machinery into the
// executable; this program uses no exceptions, and callers of new that care
// check for null.

#include <stdlib.h>

#include <new>

void* operator new(size_t size) {
    return malloc(size ? size : 1);
}
void* operator new[](size_t size) {
    return malloc(size ? size : 1);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    free(p);
}
void operator delete[](void* p) noexcept {
    free(p);
}
void operator delete(void* p, size_t) noexcept {
    free(p);
}
void operator delete[](void* p, size_t) noexcept {
    free(p);
}
