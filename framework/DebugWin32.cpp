#include "framework/Debug.h"

#include <windows.h>

void DebugOutput(const std::string& text) {
    std::string line = text;
    if (line.empty() || line.back() != '\n') line += '\n';
    OutputDebugStringA(line.c_str());
}
