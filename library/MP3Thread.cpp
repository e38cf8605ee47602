#include "library/MP3Thread.h"

#include "framework/Debug.h"
#include "framework/Directory.h"
#include "framework/Exception.h"
#include "library/MP3PlayList.h"
#include "library/MakeEntry.h"
#include "library/SavedList.h"

#include <algorithm>
#include <cctype>

std::string ExtensionOfName(const std::string& name) {
    size_t dot = name.find('.');
    std::string extension = dot == std::string::npos ? name : name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool IsMusicExtension(const std::string& extension) {
    return extension == ".mp3" || extension == ".wma" || extension == ".cda" || extension == ".wav";
}

CMP3Thread::~CMP3Thread() {
    Flush();
    s_nEnded.fetch_add(1, std::memory_order_release);
    s_nLive.fetch_sub(1, std::memory_order_release);
}

// The window drops a superseded loader's groups anyway; checking here as well saves the work of
// making entries nobody will see.
bool CMP3Thread::Stopped() {
    if (!m_bSuperseded && !m_ticket.IsCurrent()) m_bSuperseded = true;
    return m_bTargetGone || m_bSuperseded;
}

void CMP3Thread::Flush() {
    if (m_pending.empty()) return;
    if (!Stopped() && !m_target.AddScannedEntries(std::move(m_pending))) m_bTargetGone = true;
    m_pending.clear();
}

void CMP3Thread::LoadSaved(int listId) {
    // One group is held back, so that the last one, which fits the columns, is known.
    std::vector<MediaEntry> held;
    bool holding = false;
    LoadSavedListFile(
        SavedListPath(listId),
        [&](std::vector<MediaEntry>&& batch) {
            if (holding && !Stopped() && !m_target.AddEntries(std::move(held), false)) m_bTargetGone = true;
            held = std::move(batch);
            holding = true;
        },
        kSavedGroupSize);
    if (holding && !Stopped() && !m_target.AddEntries(std::move(held), true)) m_bTargetGone = true;
}

void CMP3Thread::ScanDirectory(const std::string& folder) {
    ScanFolder(folder);
    Flush();
}

void CMP3Thread::ScanFolder(const std::string& folder) {
    // A link that leads back to a folder being walked (one the system does not mark as a link) would
    // take the walk round in circles: each folder is walked once per branch.
    std::string identity = FolderIdentity(folder);
    if (!identity.empty()) {
        if (std::find(m_walking.begin(), m_walking.end(), identity) != m_walking.end()) return;
        m_walking.push_back(identity);
    }
    ForEachInDirectory(folder, [&](const std::string& name, bool isDirectory) {
        if (Stopped()) return false;
        std::string path = folder + kPathSeparator + name;
        if (isDirectory) {
            ScanFolder(path);
        } else {
            std::string extension = ExtensionOfName(name);
            if (IsMusicExtension(extension)) AddFile(path, name, extension);
        }
        FlushIfDue();
        return !Stopped();
    });
    if (!identity.empty()) m_walking.pop_back();
}

void CMP3Thread::AddFile(const std::string& path, const std::string& name, const std::string& extension) {
    if (Stopped()) return;
    if (m_pending.empty()) m_pendingSince = std::chrono::steady_clock::now();
    m_pending.push_back(MakeEntry(path, name, extension));
    FlushIfDue();
}

void CMP3Thread::FlushIfDue() {
    if (m_pending.empty()) return;
    if (m_pending.size() >= kGroupSize || std::chrono::steady_clock::now() - m_pendingSince >= kGroupAge)
        Flush();
}

void CMP3Thread::LoadM3U(const std::string& path) {
    try {
        CMP3PlayList reader;
        int count = reader.Open(path);
        // The reader skips a header line like any other "#" line; a list without one starts with an entry.
        for (int i = 0; i < count && !Stopped(); ++i) {
            MediaEntry entry;
            std::string extension;
            if (reader.GetEntry(i, entry, extension) == 1) AddFile(entry.m_strPath, entry.m_strPath, extension);
        }
    } catch (const CException& e) {
        DebugOutput(e.GetErrorMessage());
    }
    Flush();
}
