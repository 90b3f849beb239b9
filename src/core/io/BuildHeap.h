// SPDX-License-Identifier: MIT
// A build keeps its tables and pages in tens of megabytes of heap that nothing has touched
// before; with 4 KB pages every one of them costs a fault on first use, a good part of an
// unchanged rebuild. PrepareBuildHeap grows the heap once at start in a block that asks for
// large pages and is kept when freed, so later allocations take their memory from it. Only
// address space is reserved: pages appear as they are used. Called once at program start,
// before any thread.
#pragma once

namespace pagloom {

// `oneArena`: every thread allocates from that one heap (a build on a thread of its own would
// otherwise get a heap of its own, without the block).
void PrepareBuildHeap(bool oneArena);

}  // namespace pagloom
