// libFuzzer target for the ID3 version 2 reader. Any bytes may arrive as the start of a file; the texts
// must be well formed, reading through the file must never go past the tag or the size limit, and for a
// tag within the first read it must find what parsing the bytes finds. A broken rule aborts with its
// description.
#include "library/Id3v2Tag.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition, const char* rule, size_t size) {
    if (condition) return;
    std::fprintf(stderr, "ID3 version 2 reader broke a rule on %zu bytes of input: %s\n", size, rule);
    std::abort();
}

bool SameTexts(const CId3v2Tag& a, const CId3v2Tag& b) {
    return a.GetSong() == b.GetSong() && a.GetArtist() == b.GetArtist() && a.GetAlbum() == b.GetAlbum();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t tagSize = CId3v2Tag::TagSize(data, size);
    CId3v2Tag parsed;
    const bool found = parsed.Parse(data, size);
    Check(!found || tagSize > 0, "texts come only from a tag", size);
    for (const std::string* text : {&parsed.GetSong(), &parsed.GetArtist(), &parsed.GetAlbum()}) {
        if (!found) {
            Check(text->empty(), "without a tag the texts stay empty", size);
            continue;
        }
        Check(!text->empty() && text->find('\0') == text->size() - 1, "a text ends in its only zero", size);
        // In UTF-8 a Latin-1 byte, or a UTF-16 pair of bytes, takes at most twice its bytes; a broken byte
        // of a UTF-8 frame becomes the three-byte replacement character.
        Check(text->size() <= 3 * std::min(tagSize, size) + 1, "a text is at most three times the tag", size);
    }

    size_t furthest = 0;
    CId3v2Tag read;
    const bool readFound = read.Read([&](uint64_t offset, unsigned char* buffer, size_t count) -> size_t {
        furthest = std::max<size_t>(furthest, offset + count);
        if (offset >= size) return 0;
        size_t got = std::min<size_t>(count, size - offset);
        std::memcpy(buffer, data + offset, got);
        return got;
    });
    Check(furthest <= std::max(CId3v2Tag::kHeaderSize, std::min(tagSize, CId3v2Tag::kMaxReadSize)),
          "reading stays within the tag and the limit", size);
    if (tagSize > 0 && tagSize <= size && tagSize <= CId3v2Tag::kFirstReadSize)
        Check(readFound == found && SameTexts(read, parsed), "reading finds what parsing finds", size);
    return 0;
}
