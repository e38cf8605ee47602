// Tag access against the real Win32 file system (run under Wine): a tag being edited is held without
// sharing; a scan reads files that others hold open and files it may not write.
#include "library/MP3TagFile.h"

#include "framework/TestTempDir.h"
#include "library/MakeEntry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;

constexpr unsigned kTagOpen = CMP3TagFile::kEditMode;

Bytes TaggedFile() {
    Bytes bytes(200, 0x42);
    Bytes block(128, 0);
    std::memcpy(block.data(), "TAG", 3);
    std::memcpy(block.data() + 3, "Song", 4);
    std::memcpy(block.data() + 33, "Artist", 6);
    std::memcpy(block.data() + 63, "Album", 5);
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

// A raw system handle, so the test does not depend on CFile to probe CFile.
class CRawHandle {
public:
    CRawHandle(const std::string& path, DWORD access, DWORD share)
        : m_hFile(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)),
          m_nError(m_hFile == INVALID_HANDLE_VALUE ? GetLastError() : 0) {}
    ~CRawHandle() {
        if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    }
    CRawHandle(const CRawHandle&) = delete;
    CRawHandle& operator=(const CRawHandle&) = delete;
    bool IsValid() const { return m_hFile != INVALID_HANDLE_VALUE; }
    DWORD Error() const { return m_nError; }

private:
    HANDLE m_hFile;
    DWORD m_nError;
};

class MP3TagFileWinTest : public testing::Test {
protected:
    CTestTempDir m_dir;
};

TEST_F(MP3TagFileWinTest, TheTagFileIsHeldWithoutSharing) {
    std::string path = m_dir.WriteFile("held.mp3", TaggedFile());
    CMP3TagFile file;
    ASSERT_TRUE(file.Open(path, kTagOpen));
    ASSERT_EQ(file.ReadTag(), 0);
    {
        CRawHandle reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        EXPECT_FALSE(reader.IsValid()) << "a second open succeeded while the tag file is open";
        EXPECT_EQ(reader.Error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    CFile second;
    CFileException error("");
    EXPECT_FALSE(second.Open(path, CFile::modeRead, &error));
    EXPECT_EQ(error.m_nOsError, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(std::string(error.what()).empty()) << "the system's text of the error";
    EXPECT_EQ(MakeEntry(path, "held", ".mp3").m_strAlbum, "Error Opening File");

    file.Close();
    CRawHandle after(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_TRUE(after.IsValid()) << "closing the tag file releases it";
}

// Held as a player holds it (reading, others may read; or reading and writing, shared): the tag
// cannot be edited meanwhile, but a scan reads it.
TEST_F(MP3TagFileWinTest, AFileOpenElsewhereScansWithItsTagButCannotBeEdited) {
    std::string path = m_dir.WriteFile("busy.mp3", TaggedFile());
    for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}}) {
        CRawHandle other(path, access, FILE_SHARE_READ | (access & GENERIC_WRITE ? FILE_SHARE_WRITE : 0));
        ASSERT_TRUE(other.IsValid());
        CMP3TagFile file;
        EXPECT_FALSE(file.OpenToEdit(path));
        EXPECT_EQ(MakeEntry(path, "busy", ".mp3"), (MediaEntry{path, "", "Artist\0"s, "Album\0"s, "Song\0"s}))
            << "access " << std::hex << access;
    }
}

TEST_F(MP3TagFileWinTest, AReadOnlyFileScansWithItsTagButCannotBeEdited) {
    Bytes original = TaggedFile();
    std::string path = m_dir.WriteFile("readonly.mp3", original);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    {
        CMP3TagFile file;
        CFileException error("");
        EXPECT_FALSE(file.OpenToEdit(path, &error));
        EXPECT_EQ(error.m_nOsError, ERROR_ACCESS_DENIED);
        ASSERT_TRUE(file.OpenToRead(path));
        ASSERT_EQ(file.ReadTag(), 0);
        EXPECT_EQ(file.WriteTagField("x", 0), -1) << "a file opened to read is not written";
    }
    EXPECT_EQ(MakeEntry(path, "readonly.mp3", "mp3"),
              (MediaEntry{path, "", "Artist\0"s, "Album\0"s, "Song\0"s}));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(CTestTempDir::ReadFile(path), original);
}

TEST_F(MP3TagFileWinTest, WritesAFieldInPlace) {
    Bytes original = TaggedFile();
    std::string path = m_dir.WriteFile("edit.mp3", original);
    {
        CMP3TagFile file;
        ASSERT_TRUE(file.Open(path, kTagOpen));
        ASSERT_EQ(file.ReadTag(), 0);
        ASSERT_EQ(file.WriteTagField("Ab", 1), 0);
    }
    Bytes expected = original;
    std::fill(expected.begin() + 200 + 33, expected.begin() + 200 + 63, 0);
    expected[200 + 33] = 'A';
    expected[200 + 34] = 'b';
    EXPECT_EQ(CTestTempDir::ReadFile(path), expected);
}

} // namespace
