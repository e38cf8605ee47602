#include "framework/GuiResources.h"

#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace {
// Wine keeps the process's GDI handles in a table the process block points to, laid out as Windows'
// own: 65536 entries of 24 bytes, each starting with the kernel object's address (0 when free).
constexpr size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
constexpr size_t kEntrySize = sizeof(void*) == 8 ? 24 : 16;
constexpr unsigned kEntries = 0x10000;
} // namespace

DWORD CountGdiObjects() {
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + kTableOffset);
    if (!table) return 0;
    DWORD count = 0;
    for (unsigned i = 0; i < kEntries; ++i) {
        std::uintptr_t object;
        memcpy(&object, table + i * kEntrySize, sizeof object);
        if (object) ++count;
    }
    return count;
}
