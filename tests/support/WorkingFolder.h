#pragma once
// Makes a folder the working directory for as long as the object lives: the list windows read and
// write their saved files there, and tests must not touch anyone else's.
#include <windows.h>

#include <string>

class CWorkingFolder {
public:
    explicit CWorkingFolder(const std::string& folder) {
        char previous[MAX_PATH] = {};
        ::GetCurrentDirectoryA(sizeof(previous), previous);
        m_strPrevious = previous;
        m_bEntered = ::SetCurrentDirectoryA(folder.c_str()) != FALSE;
    }
    ~CWorkingFolder() { ::SetCurrentDirectoryA(m_strPrevious.c_str()); }
    CWorkingFolder(const CWorkingFolder&) = delete;
    CWorkingFolder& operator=(const CWorkingFolder&) = delete;

    bool Entered() const { return m_bEntered; }

private:
    std::string m_strPrevious;
    bool m_bEntered = false;
};
