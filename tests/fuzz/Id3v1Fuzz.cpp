// libFuzzer target for the ID3 version 1 block. Any bytes may arrive as a block; a field's text must be
// its characters up to the first zero, trailing blanks dropped, in UTF-8 with one zero character
// added, and must write back as the same 30 bytes. A broken rule aborts with its description.
#include "framework/CodePage.h"
#include "library/Id3v1Tag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition, const char* rule, size_t size) {
    if (condition) return;
    std::fprintf(stderr, "ID3 version 1 reader broke a rule on %zu bytes of input: %s\n", size, rule);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CId3v1Tag tag;
    const bool parsed = tag.Parse(data, size);
    Check(parsed == (size >= CId3v1Tag::kBlockSize && std::memcmp(data, "TAG", 3) == 0),
          "a block is taken exactly when it is long enough and starts with TAG", size);
    if (!parsed) {
        Check(tag.GetSong().empty() && tag.GetArtist().empty() && tag.GetAlbum().empty(),
              "a refused block leaves the texts alone", size);
        return 0;
    }
    const std::string* texts[] = {&tag.GetSong(), &tag.GetArtist(), &tag.GetAlbum()};
    for (int field = CId3v1Tag::fieldSong; field <= CId3v1Tag::fieldAlbum; ++field) {
        const std::string& text = *texts[field];
        const uint8_t* bytes = data + CId3v1Tag::kFieldOffsets[field];
        // The field up to its first zero, without trailing blanks, in the legacy code page (Windows-1252
        // natively, where every byte is a character): the text is its UTF-8 form.
        size_t length = 0;
        while (length < CId3v1Tag::kFieldSize && bytes[length] != 0)
            ++length;
        while (length > 0 && bytes[length - 1] == ' ')
            --length;
        Check(!text.empty() && text.size() <= 3 * length + 1 && text.find('\0') == text.size() - 1 &&
                  IsUtf8(text.substr(0, text.size() - 1)),
              "a text is the field's characters in UTF-8 and one zero character", size);
        std::array<unsigned char, CId3v1Tag::kFieldSize> written{};
        Check(CId3v1Tag::FieldBytes(text, written), "a text read from a field can be written", size);
        for (size_t i = 0; i < CId3v1Tag::kFieldSize; ++i)
            Check(written[i] == (i < length ? bytes[i] : 0), "a text writes back as its field", size);
        Check(CId3v1Tag::FieldText(written.data()) == text, "a written field reads back as the text", size);
    }
    return 0;
}
