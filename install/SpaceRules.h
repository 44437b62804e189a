#pragma once
// Whether the destination has space for the game: the free space in the
// system's older figures and in whole megabytes. C runtime only, so that
// they build and are tested natively.

#include <stdint.h>

// The free bytes of a drive from the oldest free-space call's figures,
// multiplied out without overflow.
uint64_t FreeBytesFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                               uint32_t freeClusters);

// Whole megabytes for the question about space: what is needed rounded up,
// what is free rounded down, so that the figures never hide a shortfall.
uint32_t MegabytesNeeded(uint64_t bytes);
uint32_t MegabytesFree(uint64_t bytes);
