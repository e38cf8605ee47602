#pragma once
// CMP3Thread: the work of one loading thread. It fills one list window: from the list's saved file
// at start-up, from a folder tree, or from an M3U play list. It reaches the window only through
// ILoaderTarget, which hands the entries over to the user-interface thread and says when the window
// is gone; the worker then stops.
#include "library/MediaEntry.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

// The load generation of one list, shared by its window and its loaders. A load that empties the list
// starts a new generation and so supersedes every loader started before it: whatever they still hand
// over is dropped, and they stop. Loads that only add share the generation they start in.
class CLoadGeneration {
public:
    unsigned Current() const { return m_nCurrent.load(std::memory_order_acquire); }
    unsigned Supersede() { return m_nCurrent.fetch_add(1, std::memory_order_acq_rel) + 1; }

private:
    std::atomic<unsigned> m_nCurrent{0};
};

// What one loader loads for: its list's generation as it was when the load was asked for. A ticket
// without a generation is never superseded.
struct LoadTicket {
    std::shared_ptr<const CLoadGeneration> generation;
    unsigned number = 0;
    bool IsCurrent() const { return !generation || generation->Current() == number; }
};

class ILoaderTarget {
public:
    virtual ~ILoaderTarget() = default;
    // Appends entries read from the saved file, fitting the columns when asked (the last group of a
    // file is: the end state of fitting after every entry, without refitting thousands of times).
    // False: the target is gone.
    virtual bool AddEntries(std::vector<MediaEntry>&& entries, bool fitColumns) = 0;
    // Appends entries found by a scan or in an M3U list; the columns keep their widths.
    virtual bool AddScannedEntries(std::vector<MediaEntry>&& entries) = 0;
};

// The extension text of a file name: from its first dot to its end, in lower case (a.b.mp3 gives
// .b.mp3; a name without a dot gives the whole name).
std::string ExtensionOfName(const std::string& name);
// The extensions a folder scan takes: ".mp3", ".wma", ".cda", ".wav".
bool IsMusicExtension(const std::string& extension);

class CMP3Thread {
public:
    explicit CMP3Thread(ILoaderTarget& target, LoadTicket ticket = {})
        : m_target(target), m_ticket(std::move(ticket)) {
        ++s_nLive;
    }
    virtual ~CMP3Thread();
    CMP3Thread(const CMP3Thread&) = delete;
    CMP3Thread& operator=(const CMP3Thread&) = delete;

    // Reads the saved file of the list (163: "Queue.dat", others "Playlist.dat") in the working
    // directory and appends its entries in file order.
    void LoadSaved(int listId);
    // Walks the folder tree depth first and adds every music file, hidden ones included.
    void ScanDirectory(const std::string& folder);
    // Makes the entry of one file (reading its tag when it is an MP3) and adds it.
    void AddFile(const std::string& path, const std::string& name, const std::string& extension);
    // Adds the files an M3U play list names; its header, when it has one, is no entry.
    void LoadM3U(const std::string& path);
    // Hands over whatever is still waiting; the routines do it when they end.
    void Flush();

    // Loaders of this process at work, from their construction to their end after their last
    // hand-over; and how many have ended so far.
    static int LiveCount() { return s_nLive.load(std::memory_order_acquire); }
    static unsigned EndedCount() { return s_nEnded.load(std::memory_order_acquire); }

    bool TargetGone() const { return m_bTargetGone; }
    // A clearing load of the same list started after this one: nothing more is handed over.
    bool Superseded() const { return m_bSuperseded; }

private:
    // Entries reach the window in groups: a group goes when it is full or a moment old, so rows
    // appear several times a second as the files are found, while the window inserts and repaints
    // once per group rather than once per file (in Wine a repaint of the list costs far more than a
    // row).
    static constexpr size_t kGroupSize = 512;
    static constexpr std::chrono::milliseconds kGroupAge{150};
    // The saved file is read in large groups: it is read much faster than rows are inserted.
    static constexpr size_t kSavedGroupSize = 2048;

    void ScanFolder(const std::string& folder);
    void FlushIfDue();
    bool Stopped();

    static inline std::atomic<int> s_nLive{0};
    static inline std::atomic<unsigned> s_nEnded{0};

    ILoaderTarget& m_target;
    LoadTicket m_ticket;
    std::vector<MediaEntry> m_pending;
    std::vector<std::string> m_walking; // identities of the folders from the scan's root to here
    std::chrono::steady_clock::time_point m_pendingSince;
    bool m_bTargetGone = false;
    bool m_bSuperseded = false;
};
