#include "framework/Debug.h"

#include <cstdio>
#include <cstdlib>

// Natively there is no debugger channel; the text goes to stderr when MELODECK_DEBUG is set.
void DebugOutput(const std::string& text) {
    static const bool enabled = std::getenv("MELODECK_DEBUG") != nullptr;
    if (enabled) std::fprintf(stderr, "%s\n", text.c_str());
}
