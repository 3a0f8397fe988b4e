// How the program's large blocks go back to the system. Pictures decoded once and let go (the
// art's masters at start-up, a layout for another window size) would otherwise stay counted
// against the program: the allocator learns from each freed picture to keep the next one for a
// reuse that never comes.
#pragma once

// Call once, first thing in main: every block of 256 KiB or more is mapped on its own and
// unmapped when freed.
void ReturnLargeBlocksWhenFreed();
