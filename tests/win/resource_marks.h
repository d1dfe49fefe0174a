// Leak checks for the Windows-side tests: marks of a process's GDI objects, handles and
// private memory taken before and after a long run of some operation.
#pragma once

#include "win/handles_win.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <psapi.h>

namespace qv {

// Where the system counts a process's objects (Windows) the counts are compared. Wine has
// neither count (both read 0); a leak shows there in where new objects land instead: freed
// GDI slots and handle values are reused first, so after a leak fresh ones come out higher.
struct ResourceMarks {
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    DWORD handles = 0;
    unsigned highestGdiSlot = 0;
    ULONG_PTR kernelHandle = 0;
    SIZE_T privateBytes = 0;

    static ResourceMarks Take() {
        const HANDLE self = GetCurrentProcess();
        ResourceMarks marks;
        marks.gdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
        marks.userObjects = GetGuiResources(self, GR_USEROBJECTS);
        GetProcessHandleCount(self, &marks.handles);
        {
            WindowDc screen(nullptr);
            std::array<UniqueBitmap, 64> probes;
            for (auto& probe : probes) {
                probe.reset(CreateCompatibleBitmap(screen.get(), 1, 1));
                const unsigned slot = LOWORD(reinterpret_cast<ULONG_PTR>(probe.get()));
                marks.highestGdiSlot = std::max(marks.highestGdiSlot, slot);
            }
        }
        const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        marks.kernelHandle = reinterpret_cast<ULONG_PTR>(event);
        CloseHandle(event);
        marks.privateBytes = PrivateBytes();
        return marks;
    }
    // The system's private byte count; where it reads 0 (Wine), the committed private pages
    // of the address space, which is what that count means.
    static SIZE_T PrivateBytes() {
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        if (GetProcessMemoryInfo(GetCurrentProcess(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof(memory)) &&
            memory.PrivateUsage != 0) {
            return memory.PrivateUsage;
        }
        SIZE_T committed = 0;
        MEMORY_BASIC_INFORMATION region{};
        for (auto* at = static_cast<const char*>(nullptr);
             VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
                committed += region.RegionSize;
            }
        }
        return committed;
    }
    bool CountsAvailable() const { return gdiObjects != 0 && handles != 0; }
};

// GDI objects and handles are back where they were (by count, or by slot under Wine).
inline void ExpectNoGdiOrHandleLeak(const ResourceMarks& before, const ResourceMarks& after) {
    if (before.CountsAvailable()) {
        EXPECT_EQ(after.gdiObjects, before.gdiObjects);
        EXPECT_EQ(after.userObjects, before.userObjects);
        EXPECT_EQ(after.handles, before.handles);
    } else {
        EXPECT_LE(after.highestGdiSlot, before.highestGdiSlot);
        EXPECT_LE(after.kernelHandle, before.kernelHandle);
    }
}

} // namespace qv
