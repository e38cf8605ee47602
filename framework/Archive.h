#pragma once
// Binary serialisation over a file: little-endian integers and length-prefixed strings, buffered.
//
// String encoding: a length prefix, then the characters without terminator. Written always in 8-bit
// characters: length n < 255 as one byte; n < 0xFFFE as 0xFF and a 16-bit n; n < 0xFFFFFFFF as 0xFF, 0xFFFF
// and a 32-bit n; beyond that 0xFF, 0xFFFF, 0xFFFFFFFF and a 64-bit n. A reader also accepts the marker
// 0xFF, 0xFFFE, after which the length prefix starts again and counts 16-bit (UTF-16LE) characters; those
// are converted to the program's code page. WriteWideString writes that form.
//
// Reading never trusts the data: running out inside a value throws CArchiveException(endOfFile), and a
// string length beyond the data still available (or beyond kMaxStringLength) throws
// CArchiveException(badLength) before anything is allocated.
#include "framework/Exception.h"
#include "framework/File.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // Longest string a reader accepts, in characters.
    static constexpr uint64_t kMaxStringLength = 256u * 1024u * 1024u;

    // The archive reads or writes the file from its current position. The file must outlive the archive.
    CArchive(CFile* file, Mode mode, size_t bufferSize = 4096);
    // A storing archive that was not closed writes its buffer out; errors then go to the debugger output.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return m_pFile; }

    // Storing: writes the buffered bytes to the file. Loading: drops the read-ahead and puts the file
    // back at the position of the next unread byte.
    void Flush();
    // Flushes and detaches from the file; the archive is unusable afterwards.
    void Close();

    // True when nothing is buffered: loading, the next read goes to the file; storing, all is written.
    bool IsBufferEmpty() const { return m_nBufferPos == m_nBufferEnd; }
    // Loading: the number of bytes that can still be read (buffered plus the rest of the file).
    uint64_t GetRemaining() const { return (m_nBufferEnd - m_nBufferPos) + m_nFileRemaining; }
    // Loading: true when all data has been read, so a reader can stop cleanly between records.
    bool IsAtEnd() const { return GetRemaining() == 0; }

    // Raw bytes. Read returns fewer than count only at the end of the data.
    size_t Read(void* buffer, size_t count);
    void Write(const void* buffer, size_t count);

    CArchive& operator<<(uint8_t value);
    CArchive& operator<<(uint16_t value);
    CArchive& operator<<(uint32_t value);
    CArchive& operator<<(uint64_t value);
    CArchive& operator<<(const std::string& text);
    // A string in 16-bit characters: the marker 0xFF, 0xFFFE, then the length prefix counting them.
    void WriteWideString(const std::u16string& text);

    CArchive& operator>>(uint8_t& value);
    CArchive& operator>>(uint16_t& value);
    CArchive& operator>>(uint32_t& value);
    CArchive& operator>>(uint64_t& value);
    CArchive& operator>>(std::string& text);

private:
    void CheckMode(Mode mode) const;
    // Reads exactly count bytes or throws CArchiveException(endOfFile).
    void ReadExact(void* buffer, size_t count);
    // Fills the read buffer from the file; false when the file has nothing more.
    bool FillBuffer();
    void WriteBuffer();
    void WriteStringLength(uint64_t length);
    // Returns the length in characters and whether they are 16-bit.
    uint64_t ReadStringLength(bool& wide);

    CFile* m_pFile;
    Mode m_mode;
    std::vector<unsigned char> m_buffer;
    size_t m_nBufferPos = 0;
    size_t m_nBufferEnd = 0;
    // Loading: bytes of the file not yet taken into the buffer.
    uint64_t m_nFileRemaining = 0;
};
