#pragma once
// The stack protector's guard value (platform/StackGuard.cpp).

// Gives the guard a value of this run's own. Called first thing at start,
// before any guarded function: a frame guarded with the old value would
// fail on return.
void SeedStackGuard();
