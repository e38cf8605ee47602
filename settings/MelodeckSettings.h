#pragma once
// CMelodeckSettings: the player's options in an INI file beside the program. Options are read once at
// start-up and written the moment they change; every operation goes to the file, nothing is cached.
#include "framework/Gdi.h"

#include <string>

class CMelodeckSettings {
public:
    static constexpr const char* kRandom = "Random";
    static constexpr const char* kOnTop = "OnTop";
    static constexpr const char* kTray = "Tray";
    static constexpr const char* kFont = "Font";
    // Both on unless the user turned them off; earlier versions ignore these keys.
    static constexpr const char* kMediaKeys = "MediaKeys";
    static constexpr const char* kResume = "Resume";
    // The entry and position the user left off at, as one escaped line (library/ResumePoint.h).
    static constexpr const char* kResumePoint = "ResumePoint";
    // Host name of the lyrics site; the page path under it is fixed by the lyrics window.
    static constexpr const char* kLyricsHost = "LyricsHost";
    static constexpr const char* kDefaultLyricsHost = "www.lyricsondemand.com";
    // Profile names compare without regard to case, so both spellings are the one section.
    static constexpr const char* kSectionWritten = "Setup";
    static constexpr const char* kSectionRead = "setup";
    static constexpr const char* kNoFont = "~";
    static constexpr int kPathSize = 260;

    // The program's own INI file: its path with "ini" in place of the last three characters.
    CMelodeckSettings() = default;
    // Another file, for tests.
    explicit CMelodeckSettings(const std::string& iniPath) : m_strIniPath(iniPath) {}
    virtual ~CMelodeckSettings() = default;

    // The key's integer; 0 when absent or not a number.
    int ReadInt(const std::string& key) const;
    void WriteInt(const std::string& key, int value) const;
    // The key's integer; defaultValue when absent or not a number.
    int ReadInt(const std::string& key, int defaultValue) const;
    // A one-line text value; empty when absent. Writing an empty text removes the key.
    std::string ReadText(const std::string& key) const;
    void WriteText(const std::string& key, const std::string& text) const;
    // The font record, at most 259 characters; "~" when absent.
    std::string ReadFontText() const;
    // The text up to its first line break, so that the record stays one line of the file.
    void WriteFontText(const std::string& text) const;
    // The "LyricsHost" value without surrounding blanks; the default when absent or blank.
    std::string ReadLyricsHost() const;

    // Creates the saved font into font. False when there is no usable record (font untouched) or the
    // font cannot be created (font then empty).
    bool LoadFont(CFont& font) const;
    // Saves face name, height, weight and italic of font; nothing when font holds no font.
    void SaveFont(const CFont& font) const;

    // The file every operation uses; empty when the program's path cannot be had, and then reads give
    // the defaults and writes do nothing.
    std::string GetIniPath() const;
    // programPath with its last three characters replaced by "ini", as built in a kPathSize buffer;
    // empty when it is shorter than three characters or does not fit.
    static std::string IniPathFor(const std::string& programPath);

private:
    std::string m_strIniPath;
};
