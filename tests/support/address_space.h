// The test process's address space, from /proc/self/status, for tests that show a hostile file does
// not make a decoder reserve what its header claims: a buffer of gigabytes shows here even though its
// pages are never touched.
#pragma once

// The largest address-space size so far (VmPeak), in KiB; -1 when unknown.
long peakAddressSpaceKb();
// The address-space size now (VmSize), in KiB; -1 when unknown.
long currentAddressSpaceKb();
