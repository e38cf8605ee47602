#pragma once
// Binary files of our small class library. CFile is a system file; CMemFile keeps its bytes in memory and
// stands in for a file wherever one is read or written through the CFile interface (tests, parsing a
// buffer).
#include "framework/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CFile {
public:
    // Open flags. One access mode, optionally combined with the others.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010, // nobody else may open the file while it is open here
        shareDenyWrite = 0x0020, // others may read but not write
        shareDenyNone = 0x0040,  // the default: others may read and write
        modeCreate = 0x1000,     // create the file; an existing one is emptied unless modeNoTruncate
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000, // every file is binary; accepted for clarity at the call site
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&& other) noexcept;

    // Opens the file; a file already open here is closed first. Never throws: on failure the result is
    // false and, when error is given, it receives the system's description of the failure.
    virtual bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr);
    // Reads up to count bytes; fewer only at the end of the file. Throws CFileException on a system error.
    virtual size_t Read(void* buffer, size_t count);
    // Writes all count bytes or throws CFileException.
    virtual void Write(const void* buffer, size_t count);
    // Moves the position and returns the new one; throws CFileException when the position would be
    // invalid (before the start).
    virtual uint64_t Seek(int64_t offset, SeekPosition from);
    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    // Hands the written bytes to the storage device.
    virtual void Flush();
    // Releases the file. Throws CFileException when the system reports an error; the file is released in
    // any case. The destructor closes without throwing.
    virtual void Close();
    virtual bool IsOpen() const;

    uint64_t SeekToBegin() { return Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    const std::string& GetFilePath() const { return m_strFilePath; }
    // The system's description of an error code, as the file errors carry it.
    static std::string OsErrorText(long osError);

protected:
    // Throws a CFileException for a system error code, with the system's description.
    [[noreturn]] static void ThrowOsError(long osError);
    // Throws a CFileException for the most recent system error of this thread.
    [[noreturn]] static void ThrowLastError();
    static long LastOsError();
    void CheckOpen() const;

    std::string m_strFilePath;

private:
    // The system handle: a HANDLE on Windows, a descriptor elsewhere; kNoHandle when closed.
    static constexpr intptr_t kNoHandle = -1;
    intptr_t m_hFile = kNoHandle;

    // Returns kNoHandle and sets osError on failure.
    static intptr_t OpenOsHandle(const std::string& path, unsigned flags, long& osError);
    // Returns 0 or the system error code.
    static long CloseOsHandle(intptr_t handle);

    friend bool ReplaceFileWith(const std::string& target, const std::string& source, std::string* error);
};

// Puts the file source in the place of target, atomically where the system allows, and makes the change
// durable before returning. An existing target marked read-only is refused and left as it is. On failure
// the result is false, source and target are unchanged, and error (when given) receives the system's
// description.
bool ReplaceFileWith(const std::string& target, const std::string& source, std::string* error);

// True when a file or folder exists at the path as written.
bool PathExists(const std::string& path);

// A growable file in memory. Always open; Close empties it.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    CMemFile(const void* data, size_t size);
    explicit CMemFile(std::vector<unsigned char> data) : m_data(std::move(data)) {}

    // A memory file is not opened by name.
    bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr) override;
    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    uint64_t Seek(int64_t offset, SeekPosition from) override;
    uint64_t GetPosition() const override { return m_nPosition; }
    uint64_t GetLength() const override { return m_data.size(); }
    void Flush() override {}
    void Close() override;
    bool IsOpen() const override { return true; }

    // Writes beyond this length fail as on a full disk (0 = no limit).
    void SetMaxLength(size_t maxLength) { m_nMaxLength = maxLength; }
    const std::vector<unsigned char>& GetData() const { return m_data; }

private:
    std::vector<unsigned char> m_data;
    size_t m_nPosition = 0;
    size_t m_nMaxLength = 0;
};
