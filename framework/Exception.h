#pragma once
// Exceptions of our small class library. They are thrown only at the edges named by each operation
// and caught at the operation's boundary, where their text goes to the debugger output.
#include <stdexcept>
#include <string>

class CException : public std::runtime_error {
public:
    explicit CException(const std::string& message) : std::runtime_error(message) {}
    // Text of the error, cut to maxLength characters (the callers' buffers are that small).
    std::string GetErrorMessage(size_t maxLength = 255) const {
        std::string text = what();
        return text.size() > maxLength ? text.substr(0, maxLength) : text;
    }
};

// A file could not be opened, read, written or positioned. m_nOsError is the system's error code.
class CFileException : public CException {
public:
    CFileException(const std::string& message, long osError = 0) : CException(message), m_nOsError(osError) {}
    long m_nOsError;
};

// An archive ran out of data inside a record, or a record is malformed.
class CArchiveException : public CException {
public:
    enum Cause { endOfFile, badLength };
    CArchiveException(Cause cause, const std::string& message) : CException(message), m_cause(cause) {}
    Cause m_cause;
};

// An argument outside what an operation accepts (an index past the end, an empty file).
class CInvalidArgException : public CException {
public:
    explicit CInvalidArgException(const std::string& message = "Invalid argument") : CException(message) {}
};
