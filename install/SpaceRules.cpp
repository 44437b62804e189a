#include "install/SpaceRules.h"

namespace {

const uint64_t kMegabyte = 1024 * 1024;
const uint64_t kMostMegabytes = 0xFFFFFFFFu;

} // namespace

uint64_t FreeBytesFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                               uint32_t freeClusters) {
    return (uint64_t)sectorsPerCluster * bytesPerSector * freeClusters;
}

uint32_t MegabytesNeeded(uint64_t bytes) {
    uint64_t megabytes = bytes / kMegabyte + (bytes % kMegabyte != 0);
    return (uint32_t)(megabytes < kMostMegabytes ? megabytes : kMostMegabytes);
}

uint32_t MegabytesFree(uint64_t bytes) {
    uint64_t megabytes = bytes / kMegabyte;
    return (uint32_t)(megabytes < kMostMegabytes ? megabytes : kMostMegabytes);
}
