#include "framework/Archive.h"

#include "framework/CodePage.h"
#include "framework/Debug.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kMinBufferSize = 64;

[[noreturn]] void ThrowEndOfFile() {
    throw CArchiveException(CArchiveException::endOfFile, "Unexpected end of the archive data");
}

[[noreturn]] void ThrowBadLength(uint64_t length, uint64_t available) {
    throw CArchiveException(CArchiveException::badLength, "String length " + std::to_string(length) +
                                                              " exceeds the " + std::to_string(available) +
                                                              " bytes left in the archive");
}

} // namespace

CArchive::CArchive(CFile* file, Mode mode, size_t bufferSize)
    : m_pFile(file), m_mode(mode), m_buffer(std::max(bufferSize, kMinBufferSize)) {
    if (!m_pFile) throw CInvalidArgException("An archive needs a file");
    if (m_mode == load) {
        // Known up front, so that no length read from the data can make us allocate beyond it.
        uint64_t length = m_pFile->GetLength();
        uint64_t position = m_pFile->GetPosition();
        m_nFileRemaining = length > position ? length - position : 0;
    }
}

CArchive::~CArchive() {
    if (m_pFile && m_mode == store && m_nBufferPos > 0) {
        try {
            WriteBuffer();
        } catch (const CException& e) {
            DebugOutput(e.GetErrorMessage());
        }
    }
}

void CArchive::CheckMode(Mode mode) const {
    if (!m_pFile) throw CInvalidArgException("The archive is closed");
    if (m_mode != mode)
        throw CInvalidArgException(mode == load ? "The archive is not loading"
                                                : "The archive is not storing");
}

void CArchive::Flush() {
    if (!m_pFile) return;
    if (m_mode == store) {
        WriteBuffer();
        return;
    }
    size_t unread = m_nBufferEnd - m_nBufferPos;
    m_nBufferPos = m_nBufferEnd = 0;
    if (unread > 0) {
        m_pFile->Seek(-static_cast<int64_t>(unread), CFile::current);
        m_nFileRemaining += unread;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::WriteBuffer() {
    if (m_nBufferPos == 0) return;
    size_t count = m_nBufferPos;
    // The buffer counts as written even when the file refuses it, so a failure is not repeated later.
    m_nBufferPos = 0;
    m_pFile->Write(m_buffer.data(), count);
}

bool CArchive::FillBuffer() {
    m_nBufferPos = m_nBufferEnd = 0;
    if (m_nFileRemaining == 0) return false;
    size_t wanted = static_cast<size_t>(std::min<uint64_t>(m_buffer.size(), m_nFileRemaining));
    size_t got = m_pFile->Read(m_buffer.data(), wanted);
    // A file that ended earlier than its length promised has nothing more.
    m_nFileRemaining = got < wanted ? 0 : m_nFileRemaining - got;
    m_nBufferEnd = got;
    return got > 0;
}

size_t CArchive::Read(void* buffer, size_t count) {
    CheckMode(load);
    auto* out = static_cast<unsigned char*>(buffer);
    size_t total = 0;
    while (total < count) {
        if (m_nBufferPos == m_nBufferEnd) {
            size_t left = count - total;
            if (left >= m_buffer.size() && m_nFileRemaining > 0) {
                // Large reads bypass the buffer.
                size_t wanted = static_cast<size_t>(std::min<uint64_t>(left, m_nFileRemaining));
                size_t got = m_pFile->Read(out + total, wanted);
                m_nFileRemaining = got < wanted ? 0 : m_nFileRemaining - got;
                total += got;
                if (got < wanted) break;
                continue;
            }
            if (!FillBuffer()) break;
        }
        size_t n = std::min(count - total, m_nBufferEnd - m_nBufferPos);
        std::memcpy(out + total, m_buffer.data() + m_nBufferPos, n);
        m_nBufferPos += n;
        total += n;
    }
    return total;
}

void CArchive::ReadExact(void* buffer, size_t count) {
    if (Read(buffer, count) != count) ThrowEndOfFile();
}

void CArchive::Write(const void* buffer, size_t count) {
    CheckMode(store);
    const auto* in = static_cast<const unsigned char*>(buffer);
    if (count >= m_buffer.size()) {
        WriteBuffer();
        m_pFile->Write(in, count);
        return;
    }
    if (count > m_buffer.size() - m_nBufferPos) WriteBuffer();
    std::memcpy(m_buffer.data() + m_nBufferPos, in, count);
    m_nBufferPos += count;
}

CArchive& CArchive::operator<<(uint8_t value) {
    Write(&value, 1);
    return *this;
}

CArchive& CArchive::operator<<(uint16_t value) {
    unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    Write(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(uint32_t value) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    Write(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(uint64_t value) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    Write(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator>>(uint8_t& value) {
    ReadExact(&value, 1);
    return *this;
}

CArchive& CArchive::operator>>(uint16_t& value) {
    unsigned char bytes[2];
    ReadExact(bytes, sizeof bytes);
    value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return *this;
}

CArchive& CArchive::operator>>(uint32_t& value) {
    unsigned char bytes[4];
    ReadExact(bytes, sizeof bytes);
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return *this;
}

CArchive& CArchive::operator>>(uint64_t& value) {
    unsigned char bytes[8];
    ReadExact(bytes, sizeof bytes);
    value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return *this;
}

void CArchive::WriteStringLength(uint64_t length) {
    if (length < 0xFF) {
        *this << static_cast<uint8_t>(length);
        return;
    }
    *this << static_cast<uint8_t>(0xFF);
    if (length < 0xFFFE) {
        *this << static_cast<uint16_t>(length);
        return;
    }
    *this << static_cast<uint16_t>(0xFFFF);
    if (length < 0xFFFFFFFF) {
        *this << static_cast<uint32_t>(length);
        return;
    }
    *this << static_cast<uint32_t>(0xFFFFFFFF) << length;
}

uint64_t CArchive::ReadStringLength(bool& wide) {
    wide = false;
    uint8_t byteLength;
    *this >> byteLength;
    if (byteLength < 0xFF) return byteLength;
    uint16_t wordLength;
    *this >> wordLength;
    if (wordLength == 0xFFFE) {
        // 16-bit characters follow; the length prefix starts again. A second 0xFFFE is a length.
        wide = true;
        *this >> byteLength;
        if (byteLength < 0xFF) return byteLength;
        *this >> wordLength;
    }
    if (wordLength < 0xFFFF) return wordLength;
    uint32_t longLength;
    *this >> longLength;
    if (longLength < 0xFFFFFFFF) return longLength;
    uint64_t hugeLength;
    *this >> hugeLength;
    return hugeLength;
}

CArchive& CArchive::operator<<(const std::string& text) {
    CheckMode(store);
    WriteStringLength(text.size());
    Write(text.data(), text.size());
    return *this;
}

void CArchive::WriteWideString(const std::u16string& text) {
    CheckMode(store);
    *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFE);
    WriteStringLength(text.size());
    std::vector<unsigned char> bytes(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
    Write(bytes.data(), bytes.size());
}

CArchive& CArchive::operator>>(std::string& text) {
    CheckMode(load);
    bool wide = false;
    uint64_t length = ReadStringLength(wide);
    uint64_t available = GetRemaining();
    if (length > kMaxStringLength) ThrowBadLength(length, available);
    uint64_t byteCount = wide ? length * 2 : length;
    if (byteCount > available) ThrowBadLength(length, available);

    if (!wide) {
        std::string result(static_cast<size_t>(length), '\0');
        ReadExact(&result[0], result.size());
        text.swap(result);
        return *this;
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(byteCount));
    ReadExact(bytes.data(), bytes.size());
    std::u16string wideText(static_cast<size_t>(length), u'\0');
    for (size_t i = 0; i < wideText.size(); ++i)
        wideText[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    text = WideToAnsi(wideText);
    return *this;
}
