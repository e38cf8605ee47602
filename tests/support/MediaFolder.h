#pragma once
// A fresh temporary folder for the files a test makes; removed with everything in it when the object
// goes. Portable: paths use the platform's separator.
#include <string>

class CMediaFolder {
public:
    explicit CMediaFolder(const std::string& prefix = "melodeck-test");
    ~CMediaFolder();
    CMediaFolder(const CMediaFolder&) = delete;
    CMediaFolder& operator=(const CMediaFolder&) = delete;

    // Empty when no folder could be made.
    const std::string& Path() const { return m_strPath; }
    // The full path of a file in the folder.
    std::string PathOf(const std::string& name) const;

private:
    std::string m_strPath;
};
