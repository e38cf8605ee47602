// libFuzzer target for the reading of M3U play lists: the text in the code page, its lines and the file
// each line names. Any bytes may arrive as a file. A broken rule aborts with its description.
#include "framework/CodePage.h"
#include "library/M3ULines.h"

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* rule, size_t size) {
    if (condition) return;
    std::fprintf(stderr, "M3U reader broke a rule on %zu bytes of input: %s\n", size, rule);
    std::abort();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The text as its lines should join again: each CR LF as LF, and no LF after the last line.
std::string Joined(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) result += text[i];
    if (!result.empty() && result.back() == '\n') result.pop_back();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = TextToAnsi(bytes);
    // Natively the program's texts are UTF-8: whatever the file's encoding, the text comes out well-formed,
    // and a legacy byte grows to at most three.
    Check(IsUtf8(text) && IsUtf8(TextToAnsi(bytes, true)), "the text is well-formed UTF-8", size);
    Check(text.size() <= 3 * bytes.size(), "decoding at most triples the text", size);
    bool marked = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
                  bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) Check(text == bytes, "plain ASCII stays as it is", size);
    if (!marked && IsUtf8(bytes))
        Check(TextToAnsi("\xEF\xBB\xBF" + bytes) == text, "UTF-8 reads the same with a mark as without",
              size);

    const std::vector<std::string> lines = SplitLines(text);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        Check(lines[i].find('\n') == std::string::npos, "no line holds a line end", size);
        joined += (i ? "\n" : "") + lines[i];
    }
    Check(joined == Joined(text), "the lines are the whole text", size);

    for (const std::string& line : lines) {
        Check(EndsWith(line, M3UExtension(line)) &&
                  M3UExtension(line).size() == std::min<size_t>(4, line.size()),
              "the extension is the line's last four characters", size);
        for (const char* directory : {"D:\\Lists", "\\\\nas\\share\\Lists", ""}) {
            std::string path = "untouched";
            bool named = M3UEntryPath(line, directory, path);
            if (!named) {
                Check(path == "untouched", "a skipped line leaves the path alone", size);
                continue;
            }
            // No file exists here: leading blanks are always indentation.
            const std::string text = line.substr(line.find_first_not_of(" \t"));
            Check(text[0] != '#' && !IsWebAddress(text), "comments and addresses are skipped", size);
            Check(EndsWith(path, text), "a path ends in its line", size);
            Check(path == text || text[0] == '\\' || path == std::string(directory) + "\\" + text,
                  "only relative lines are joined to the directory", size);
        }
    }
    return 0;
}
