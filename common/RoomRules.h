#pragma once
// Whether the destination has room for the game: what the copy adds, which
// folder to ask the system about, and the free space in the system's older
// figures. C runtime only, so that they build and are tested natively.

#include <stdint.h>

#include "common/PathRules.h"

// What copying a file of `sourceSize` bytes adds to the drive: all of it, or,
// over an existing file of `existingSize` bytes, only what it grows by.
uint64_t AddedBytes(uint64_t sourceSize, bool exists, uint64_t existingSize);

// The folder to ask for the free space of the drive that will hold `path`:
// `path` or its nearest parent for which `exists` holds, up to the drive's
// or share's root ("C:\", "\\server\share\"), always with a trailing
// backslash (the system asks it of a network path). False for a path that
// is not absolute.
bool NearestExistingFolder(const char* path, bool (*exists)(const char* folder),
                           PathBuffer& folder);

// The root of the drive or share that holds the absolute `path`, with its
// trailing backslash: what the oldest free-space call takes. False for a
// path that is not absolute.
bool RootOfPath(const char* path, PathBuffer& root);

// The free bytes of a drive from the oldest free-space call's figures,
// multiplied out without overflow.
uint64_t FreeBytesFromClusters(uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                               uint32_t freeClusters);

// Whole megabytes for the question about room: what is needed rounded up,
// what is free rounded down, so that the figures never hide a shortfall.
uint32_t MegabytesNeeded(uint64_t bytes);
uint32_t MegabytesFree(uint64_t bytes);
