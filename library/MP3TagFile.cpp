#include "library/MP3TagFile.h"

#include "framework/Debug.h"

#include <array>

int CMP3TagFile::ReadTag() {
    try {
        uint64_t length = GetLength();
        if (length < CId3v1Tag::kBlockSize) return -1;
        Seek(static_cast<int64_t>(length - CId3v1Tag::kBlockSize), begin);
        std::array<unsigned char, CId3v1Tag::kBlockSize> block{};
        size_t got = Read(block.data(), block.size());
        return m_tag.Parse(block.data(), got) ? 0 : -1;
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
        return -1;
    }
}

int CMP3TagFile::ReadTagV2(CId3v2Tag& tag) {
    try {
        bool found = tag.Read([this](uint64_t offset, unsigned char* buffer, size_t count) {
            Seek(static_cast<int64_t>(offset), begin);
            return Read(buffer, count);
        });
        return found ? 0 : -1;
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
        return -1;
    }
}

int CMP3TagFile::WriteTagField(const std::string& text, int field) {
    if (field < CId3v1Tag::fieldSong || field > CId3v1Tag::fieldAlbum) {
        DebugOutputF("Tag field %d cannot be written", field);
        return -1;
    }
    try {
        uint64_t length = GetLength();
        // Seeking before the start would fail too; saying so is clearer.
        if (length < CId3v1Tag::kBlockSize) throw CFileException("The file is too short for a tag block");
        Seek(static_cast<int64_t>(length - CId3v1Tag::kBlockSize + CId3v1Tag::kFieldOffsets[field]), begin);
        std::array<unsigned char, CId3v1Tag::kFieldSize> bytes{};
        if (!CId3v1Tag::FieldBytes(text, bytes))
            throw CFileException("The tag's code page cannot hold the text " + text);
        Write(bytes.data(), bytes.size());
        return 0;
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
        return -1;
    }
}
