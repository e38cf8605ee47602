#pragma once
// Shared pieces of the M3U tests: a text file whose dialog answers from the script, raw file access that
// does not go through the code under test, and the loader's walk over a play list.
#include "framework/Exception.h"
#include "library/MP3PlayList.h"
#include "library/TextFile.h"

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// A text file whose "dialog" picks m_strAnswer, or cancels when it is empty, and records each question.
class CScriptedTextFile : public CTextFile {
public:
    struct Question {
        bool save;
        std::string filterPrefix;
    };

    explicit CScriptedTextFile(std::string answer, const std::string& filterPrefix = "")
        : CTextFile("m3u", "\r\n", filterPrefix), m_strAnswer(std::move(answer)) {}

    bool AskFileName(bool save, std::string& fileName, const std::string& filterPrefix) override {
        m_questions.push_back({save, filterPrefix});
        if (m_strAnswer.empty()) return false;
        fileName = m_strAnswer;
        return true;
    }

    std::string m_strAnswer;
    std::vector<Question> m_questions;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the loader does with a play list: every line that names a file, as (path, extension), until an
// exception of ours ends the walk (its text goes to error).
struct LoadedPlayList {
    int count = 0;
    std::vector<std::pair<std::string, std::string>> files;
    std::string error;
};

inline LoadedPlayList LoadLikeTheLoader(const std::string& path) {
    LoadedPlayList result;
    try {
        CMP3PlayList reader;
        result.count = reader.Open(path);
        for (int i = 0; i < result.count; ++i) {
            MediaEntry entry;
            std::string extension;
            if (reader.GetEntry(i, entry, extension)) result.files.emplace_back(entry.m_strPath, extension);
        }
    } catch (const CException& exception) {
        result.error = exception.what();
    }
    return result;
}
