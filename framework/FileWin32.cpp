#include "framework/File.h"

#include <windows.h>

namespace {

HANDLE Handle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxChunk = 1u << 30;

constexpr unsigned kShareMask = CFile::shareExclusive | CFile::shareDenyWrite | CFile::shareDenyNone;

} // namespace

long CFile::LastOsError() {
    return static_cast<long>(GetLastError());
}

std::string CFile::OsErrorText(long osError) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(osError), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result;
    if (length > 0 && text) result.assign(text, length);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    if (result.empty()) result = "Unknown error " + std::to_string(osError);
    return result;
}

void CFile::CheckOpen() const {
    if (m_hFile == kNoHandle) ThrowOsError(ERROR_INVALID_HANDLE);
}

intptr_t CFile::OpenOsHandle(const std::string& path, unsigned flags, long& osError) {
    DWORD access = 0;
    switch (flags & 0x3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: osError = ERROR_INVALID_PARAMETER; return kNoHandle;
    }
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (flags & kShareMask) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    default: break;
    }
    // Windows refuses to write a file marked read-only; Wine running as root would not (it keeps the mark
    // in the Unix permissions), so the mark is honoured here as well.
    if (access & GENERIC_WRITE) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            osError = ERROR_ACCESS_DENIED;
            return kNoHandle;
        }
    }
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate) disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE handle =
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        osError = static_cast<long>(GetLastError());
        return kNoHandle;
    }
    return reinterpret_cast<intptr_t>(handle);
}

long CFile::CloseOsHandle(intptr_t handle) {
    if (!::CloseHandle(Handle(handle))) return static_cast<long>(GetLastError());
    return 0;
}

size_t CFile::Read(void* buffer, size_t count) {
    CheckOpen();
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(count - total < kMaxChunk ? count - total : kMaxChunk);
        DWORD done = 0;
        if (!ReadFile(Handle(m_hFile), bytes + total, chunk, &done, nullptr)) {
            DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) break;
            ThrowOsError(static_cast<long>(error));
        }
        if (done == 0) break;
        total += done;
    }
    return total;
}

void CFile::Write(const void* buffer, size_t count) {
    CheckOpen();
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(count - total < kMaxChunk ? count - total : kMaxChunk);
        DWORD done = 0;
        if (!WriteFile(Handle(m_hFile), bytes + total, chunk, &done, nullptr)) ThrowLastError();
        if (done != chunk) ThrowOsError(ERROR_DISK_FULL);
        total += done;
    }
}

uint64_t CFile::Seek(int64_t offset, SeekPosition from) {
    CheckOpen();
    DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(Handle(m_hFile), distance, &position, method)) ThrowLastError();
    return static_cast<uint64_t>(position.QuadPart);
}

uint64_t CFile::GetPosition() const {
    CheckOpen();
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(Handle(m_hFile), zero, &position, FILE_CURRENT)) ThrowLastError();
    return static_cast<uint64_t>(position.QuadPart);
}

uint64_t CFile::GetLength() const {
    CheckOpen();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(Handle(m_hFile), &size)) ThrowLastError();
    return static_cast<uint64_t>(size.QuadPart);
}

void CFile::Flush() {
    CheckOpen();
    // A handle opened only for reading has nothing to flush and is refused with "access denied".
    if (!FlushFileBuffers(Handle(m_hFile))) {
        DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED) ThrowOsError(static_cast<long>(error));
    }
}

bool ReplaceFileWith(const std::string& target, const std::string& source, std::string* error) {
    auto fail = [error](DWORD osError) {
        if (error) *error = CFile::OsErrorText(static_cast<long>(osError));
        return false;
    };
    // Windows refuses to replace a read-only file; Wine as root might not, so the mark is checked here.
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return fail(ERROR_ACCESS_DENIED);
    // Write-through: the call returns once the move is on the disk.
    if (!MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(GetLastError());
    return true;
}

bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
