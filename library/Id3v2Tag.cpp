#include "library/Id3v2Tag.h"

#include "framework/CodePage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned kUnsynchronised = 0x80;
constexpr unsigned kExtendedHeader = 0x40; // in version 2.2 this bit means a compressed tag
constexpr unsigned kFooter = 0x10;
constexpr size_t kFieldCount = 3;

// Frame identifiers of title, artist and album, by version 2.2 and by 2.3 and 2.4.
const char* const kShortIds[kFieldCount] = {"TT2", "TP1", "TAL"};
const char* const kLongIds[kFieldCount] = {"TIT2", "TPE1", "TALB"};

uint32_t BigEndian(const unsigned char* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

bool IsSyncsafe(const unsigned char* bytes) {
    return (bytes[0] | bytes[1] | bytes[2] | bytes[3]) < 0x80;
}

uint32_t Syncsafe(const unsigned char* bytes) {
    return (uint32_t{bytes[0]} << 21) | (uint32_t{bytes[1]} << 14) | (uint32_t{bytes[2]} << 7) | bytes[3];
}

// Undoes unsynchronisation: every 0xFF 0x00 pair was written for a lone 0xFF.
std::string Resynchronise(const std::string& bytes) {
    std::string result;
    result.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        result += bytes[i];
        if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
    }
    return result;
}

bool IsFrameId(const std::string& body, size_t at, size_t length) {
    if (body.size() - at < length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = body[at + i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// Where a frame of version 2.4 may end: the end of the data, padding, or the next frame.
bool FrameMayEndAt(const std::string& body, size_t at) {
    return at == body.size() || (at < body.size() && (body[at] == '\0' || IsFrameId(body, at, 4)));
}

// The text of a text frame's content (an encoding byte, then the text), up to its first terminator, in
// the code page with one zero character added; false for an encoding that does not exist.
bool FrameText(const std::string& content, std::string& text) {
    if (content.empty()) return false;
    std::string bytes = content.substr(1);
    std::u16string wide;
    switch (content[0]) {
    case 0: wide = Latin1ToWide(bytes.substr(0, bytes.find('\0'))); break;
    case 3: wide = Utf8ToWide(bytes.substr(0, bytes.find('\0'))); break;
    case 1:
    case 2: {
        // Version 2.4 names big-endian text without a mark (2); a mark, where there is one, decides.
        bool bigEndian = content[0] == 2;
        if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
            bigEndian = bytes[0] == '\xFE';
            bytes.erase(0, 2);
        }
        size_t end = 0;
        while (end + 1 < bytes.size() && (bytes[end] != '\0' || bytes[end + 1] != '\0'))
            end += 2;
        wide = Utf16ToWide(bytes.substr(0, end), bigEndian);
        break;
    }
    default: return false;
    }
    text = WideToAnsi(wide);
    text += '\0';
    return true;
}

// The frame content without the additional bytes that the frame's flags put in front of it; false for
// content this reader cannot take (compressed or encrypted).
bool FrameContent(int version, unsigned formatFlags, bool tagUnsynchronised, std::string& content) {
    size_t skip = 0;
    bool unsynchronised = tagUnsynchronised;
    if (version == 3) {
        if (formatFlags & 0xC0) return false;
        if (formatFlags & 0x20) skip = 1;
    } else if (version == 4) {
        if (formatFlags & 0x0C) return false;
        if (formatFlags & 0x40) skip += 1;
        if (formatFlags & 0x01) skip += 4;
        unsynchronised = unsynchronised || (formatFlags & 0x02);
    }
    if (skip > content.size()) return false;
    content.erase(0, skip);
    if (unsynchronised && version == 4) content = Resynchronise(content);
    return true;
}

// The number of title, artist and album texts found in the tag at data, into texts.
size_t ParseTexts(const unsigned char* data, size_t size, std::string (&texts)[kFieldCount]) {
    size_t tagSize = CId3v2Tag::TagSize(data, size);
    if (tagSize == 0) return 0;
    const int version = data[3];
    const unsigned flags = data[5];
    if (version == 2 && (flags & kExtendedHeader)) return 0;
    size_t bodyEnd =
        std::min(size, tagSize - ((version == 4 && (flags & kFooter)) ? CId3v2Tag::kHeaderSize : 0));
    std::string body(reinterpret_cast<const char*>(data) + CId3v2Tag::kHeaderSize,
                     bodyEnd - CId3v2Tag::kHeaderSize);
    // Before version 2.4 the whole tag after its header was unsynchronised; from 2.4 each frame is.
    if (version < 4 && (flags & kUnsynchronised)) body = Resynchronise(body);

    size_t pos = 0;
    if (version >= 3 && (flags & kExtendedHeader)) {
        if (body.size() < 4) return 0;
        const auto* sizeBytes = reinterpret_cast<const unsigned char*>(body.data());
        // 2.3 counts the bytes after the size field, 2.4 the whole extended header.
        uint64_t extended = version == 3 ? uint64_t{BigEndian(sizeBytes, 4)} + 4 : Syncsafe(sizeBytes);
        // Some taggers set the flag with no extended header at all: the frames then start at once, and
        // the "size" is the first frame's identifier.
        const bool plausible =
            extended <= body.size() && (version == 3 || (IsSyncsafe(sizeBytes) && extended >= 6));
        if (plausible) pos = static_cast<size_t>(extended);
        if (!plausible || (!IsFrameId(body, pos, 4) && IsFrameId(body, 0, 4))) pos = 0;
    }

    const size_t idLength = version == 2 ? 3 : 4;
    const size_t headerLength = version == 2 ? 6 : 10;
    const char* const* ids = version == 2 ? kShortIds : kLongIds;
    bool found[kFieldCount] = {};
    size_t count = 0;
    while (count < kFieldCount && body.size() - pos >= headerLength && IsFrameId(body, pos, idLength)) {
        const auto* header = reinterpret_cast<const unsigned char*>(body.data() + pos);
        size_t frameSize;
        if (version == 2) {
            frameSize = BigEndian(header + 3, 3);
        } else if (version == 3) {
            frameSize = BigEndian(header + 4, 4);
        } else {
            // Some writers put plain sizes into 2.4 tags; the plain reading wins only where the syncsafe
            // one cannot be right.
            uint32_t plain = BigEndian(header + 4, 4);
            frameSize = Syncsafe(header + 4);
            if (!IsSyncsafe(header + 4) ||
                (plain != frameSize && !FrameMayEndAt(body, pos + headerLength + frameSize) &&
                 plain <= body.size() - pos - headerLength &&
                 FrameMayEndAt(body, pos + headerLength + plain)))
                frameSize = plain;
        }
        // A frame that runs past the data is cut off or lies about its size: nothing after it is trusted.
        if (frameSize > body.size() - pos - headerLength) break;
        for (size_t field = 0; field < kFieldCount; ++field) {
            if (found[field] || body.compare(pos, idLength, ids[field]) != 0) continue;
            std::string content = body.substr(pos + headerLength, frameSize);
            unsigned formatFlags = version == 2 ? 0 : header[9];
            if (FrameContent(version, formatFlags, (flags & kUnsynchronised) != 0, content) &&
                FrameText(content, texts[field])) {
                found[field] = true;
                ++count;
            }
        }
        pos += headerLength + frameSize;
    }
    for (size_t field = 0; field < kFieldCount; ++field)
        if (!found[field]) texts[field] = std::string(1, '\0');
    return count;
}

} // namespace

size_t CId3v2Tag::TagSize(const unsigned char* data, size_t size) {
    if (!data || size < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return 0;
    if (data[3] < 2 || data[3] > 4 || data[4] == 0xFF || !IsSyncsafe(data + 6)) return 0;
    bool footer = data[3] == 4 && (data[5] & kFooter);
    return kHeaderSize + Syncsafe(data + 6) + (footer ? kHeaderSize : 0);
}

bool CId3v2Tag::Parse(const unsigned char* data, size_t size) {
    std::string texts[kFieldCount];
    if (ParseTexts(data, size, texts) == 0) return false;
    m_strSong = texts[0];
    m_strArtist = texts[1];
    m_strAlbum = texts[2];
    return true;
}

bool CId3v2Tag::Read(const ReadAt& read) {
    std::vector<unsigned char> data(kHeaderSize);
    if (read(0, data.data(), kHeaderSize) != kHeaderSize) return false;
    const size_t tagSize = TagSize(data.data(), kHeaderSize);
    if (tagSize == 0) return false;
    const size_t wanted = std::min(tagSize, kMaxReadSize);
    size_t have = kHeaderSize;
    std::string texts[kFieldCount];
    size_t found = 0;
    for (size_t step : {kFirstReadSize, wanted}) {
        size_t end = std::min(step, wanted);
        if (end <= have) continue;
        data.resize(end);
        size_t got = read(have, data.data() + have, end - have);
        have += std::min(got, end - have);
        data.resize(have);
        found = ParseTexts(data.data(), have, texts);
        if (found == kFieldCount || have < end) break;
    }
    if (found == 0) return false;
    m_strSong = texts[0];
    m_strArtist = texts[1];
    m_strAlbum = texts[2];
    return true;
}
