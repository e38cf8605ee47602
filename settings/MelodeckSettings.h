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
    // The player's volume, 0 to 1000; earlier versions ignore the key and start at the default.
    static constexpr const char* kVolume = "Volume";
    static constexpr int kDefaultVolume = 100;
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

    // The key's integer; defaultValue (0 unless given) when absent, 0 when not a number.
    int ReadInt(const std::string& key, int defaultValue = 0) const;
    void WriteInt(const std::string& key, int value) const;
    // Window places and column widths, kept across restarts; earlier versions ignore these keys.
    static constexpr const char* kPlayerWindow = "PlayerWindow";
    static constexpr const char* kQueueWindow = "QueueWindow";
    static constexpr const char* kPlayListWindow = "PlayListWindow";
    static constexpr const char* kQueueColumns = "QueueColumns";
    static constexpr const char* kPlayListColumns = "PlayListColumns";
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
    // The file the program's own store uses from now on (decided once at start-up: beside the program
    // file, or in the user's folder for an installed copy). Empty: beside the program file.
    static void SetProgramIniPath(const std::string& path);

    // Called with the file and the system's reason when an option cannot be written; by default a
    // message box owned by the main window, once per run, not once per click.
    static void (*s_pfnReportWriteFailure)(const std::string& iniPath, const std::string& reason);
    static bool s_bWriteFailureReported;
    // programPath with its last three characters replaced by "ini", as built in a kPathSize buffer;
    // empty when it is shorter than three characters or does not fit.
    static std::string IniPathFor(const std::string& programPath);

private:
    std::string m_strIniPath;
};
