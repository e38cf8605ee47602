#include "framework/File.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

CFile::~CFile() {
    if (m_hFile != kNoHandle) CloseOsHandle(m_hFile);
}

CFile::CFile(CFile&& other) noexcept
    : m_strFilePath(std::move(other.m_strFilePath)), m_hFile(std::exchange(other.m_hFile, kNoHandle)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
    if (this != &other) {
        if (m_hFile != kNoHandle) CloseOsHandle(m_hFile);
        m_hFile = std::exchange(other.m_hFile, kNoHandle);
        m_strFilePath = std::move(other.m_strFilePath);
    }
    return *this;
}

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error) {
    if (m_hFile != kNoHandle) {
        CloseOsHandle(m_hFile);
        m_hFile = kNoHandle;
    }
    m_strFilePath.clear();
    long osError = 0;
    intptr_t handle = OpenOsHandle(path, flags, osError);
    if (handle == kNoHandle) {
        if (error) *error = CFileException(OsErrorText(osError), osError);
        return false;
    }
    m_hFile = handle;
    m_strFilePath = path;
    return true;
}

void CFile::Close() {
    if (m_hFile == kNoHandle) return;
    long osError = CloseOsHandle(std::exchange(m_hFile, kNoHandle));
    m_strFilePath.clear();
    if (osError != 0) ThrowOsError(osError);
}

bool CFile::IsOpen() const {
    return m_hFile != kNoHandle;
}

void CFile::ThrowOsError(long osError) {
    throw CFileException(OsErrorText(osError), osError);
}

void CFile::ThrowLastError() {
    ThrowOsError(LastOsError());
}

CMemFile::CMemFile(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (size > 0) m_data.assign(bytes, bytes + size);
}

bool CMemFile::Open(const std::string&, unsigned, CFileException* error) {
    if (error) *error = CFileException("A memory file cannot be opened by name");
    return false;
}

size_t CMemFile::Read(void* buffer, size_t count) {
    if (m_nPosition >= m_data.size() || count == 0) return 0;
    size_t n = std::min(count, m_data.size() - m_nPosition);
    std::memcpy(buffer, m_data.data() + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (count > std::numeric_limits<size_t>::max() - m_nPosition ||
        (m_nMaxLength != 0 && m_nPosition + count > m_nMaxLength))
        throw CFileException("There is not enough space in the memory file");
    size_t endPos = m_nPosition + count;
    if (endPos > m_data.size()) m_data.resize(endPos);
    std::memcpy(m_data.data() + m_nPosition, buffer, count);
    m_nPosition = endPos;
}

uint64_t CMemFile::Seek(int64_t offset, SeekPosition from) {
    int64_t base = 0;
    switch (from) {
    case begin: base = 0; break;
    case current: base = static_cast<int64_t>(m_nPosition); break;
    case end: base = static_cast<int64_t>(m_data.size()); break;
    }
    // Positions past the end are allowed (a later write fills the gap with zeros); before the start not.
    if ((offset < 0 && base + offset < 0) ||
        (offset > 0 && offset > std::numeric_limits<int64_t>::max() - base))
        throw CFileException("An attempt was made to move the position outside the memory file");
    int64_t target = base + offset;
    if (static_cast<uint64_t>(target) > std::numeric_limits<size_t>::max() / 2)
        throw CFileException("An attempt was made to move the position outside the memory file");
    m_nPosition = static_cast<size_t>(target);
    return m_nPosition;
}

void CMemFile::Close() {
    m_data.clear();
    m_data.shrink_to_fit();
    m_nPosition = 0;
}
