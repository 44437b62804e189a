#include "text/TableFile.h"

FILE* OpenTableFile(const char* path) {
    return fopen(path, "rb");
}
