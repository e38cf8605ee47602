// The loading work of one thread, against a stand-in list window: which files a folder scan takes,
// what the entries hold, M3U and saved-file loading, and stopping when the window is gone.
#include "framework/Directory.h"
#include "library/MP3Thread.h"
#include "library/MakeEntry.h"
#include "library/SavedList.h"
#include "support/MediaFolder.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Records what a loader hands over; can refuse after a number of hand-overs, as a closed window does.
class CRecordingTarget : public ILoaderTarget {
public:
    std::vector<MediaEntry> m_entries;
    int m_nSavedBatches = 0;
    int m_nScanBatches = 0;
    int m_nAcceptBatches = 1 << 30;
    std::vector<bool> m_fits;  // per saved group, whether it asked for the columns to be fitted

    bool AddEntries(std::vector<MediaEntry>&& entries, bool fitColumns) override {
        if (m_nSavedBatches + m_nScanBatches >= m_nAcceptBatches) return false;
        ++m_nSavedBatches;
        m_fits.push_back(fitColumns);
        m_entries.insert(m_entries.end(), entries.begin(), entries.end());
        return true;
    }
    bool AddScannedEntries(std::vector<MediaEntry>&& entries) override {
        if (m_nSavedBatches + m_nScanBatches >= m_nAcceptBatches) return false;
        ++m_nScanBatches;
        m_entries.insert(m_entries.end(), entries.begin(), entries.end());
        return true;
    }
    std::map<std::string, MediaEntry> ByPath() const {
        std::map<std::string, MediaEntry> byPath;
        for (const auto& entry : m_entries) byPath[entry.m_strPath] = entry;
        return byPath;
    }
};

std::string Zero(const std::string& text) { return text + std::string(1, '\0'); }

TEST(ExtensionRule, StartsAtTheFirstDotInLowerCase) {
    EXPECT_EQ(".mp3", ExtensionOfName("Track.MP3"));
    EXPECT_EQ(".b.mp3", ExtensionOfName("a.b.mp3"));
    EXPECT_EQ(". intro.mp3", ExtensionOfName("01. Intro.mp3"));
    EXPECT_EQ("readme", ExtensionOfName("README"));
    EXPECT_EQ(".wav", ExtensionOfName("x.WAV"));
}

TEST(ExtensionRule, OnlyTheFourMusicExtensionsAreTaken) {
    for (const char* taken : {".mp3", ".wma", ".cda", ".wav"}) EXPECT_TRUE(IsMusicExtension(taken)) << taken;
    for (const char* left : {".txt", ".mp3x", "mp3", ".b.mp3", ". intro.mp3", ".m3u", ""})
        EXPECT_FALSE(IsMusicExtension(left)) << left;
}

class ScanTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        fs::create_directories(m_folder.PathOf("sub"));
        Id3v1Fields tag{"Waterloo", "Abba", "Gold"};
        ASSERT_TRUE(WriteMp3File(m_folder.PathOf("a.mp3"), 1, &tag));
        ASSERT_TRUE(WriteWavFile(m_folder.PathOf("sub/b.wav"), 10));
        ASSERT_TRUE(WriteMp3File(m_folder.PathOf("Track.MP3"), 1));
        ASSERT_TRUE(WriteWavFile(m_folder.PathOf("x.WAV"), 10));
        ASSERT_TRUE(WriteMp3File(m_folder.PathOf("01. Intro.mp3"), 1, &tag));
        ASSERT_TRUE(WriteMediaFile(m_folder.PathOf("notes.txt"), MediaBytes(10, 'n')));
    }
    std::string P(const std::string& relative) const { return m_folder.Path() + "/" + relative; }

    CMediaFolder m_folder;
    CRecordingTarget m_target;
};

TEST_F(ScanTest, TakesExactlyTheMusicFilesWithTheirTagsOrNames) {
    {
        CMP3Thread worker(m_target);
        worker.ScanDirectory(m_folder.Path());
    }
    auto byPath = m_target.ByPath();
    ASSERT_EQ(4u, m_target.m_entries.size());
    ASSERT_EQ(4u, byPath.size());

    const MediaEntry& tagged = byPath[P("a.mp3")];
    EXPECT_EQ(Zero("Abba"), tagged.m_strArtist);
    EXPECT_EQ(Zero("Gold"), tagged.m_strAlbum);
    EXPECT_EQ(Zero("Waterloo"), tagged.m_strSong);
    EXPECT_TRUE(tagged.m_strFileName.empty());

    const MediaEntry& untagged = byPath[P("Track.MP3")];
    EXPECT_EQ(MediaEntry({P("Track.MP3"), "", "", "", "Track"}), untagged) << "the bare name, for a file without a tag";

    const MediaEntry& wav = byPath[P("sub/b.wav")];
    EXPECT_EQ(MediaEntry({P("sub/b.wav"), "", "", "", "b"}), wav);
    EXPECT_EQ(1u, byPath.count(P("x.WAV")));
}

TEST_F(ScanTest, ScanningTwiceAddsEveryFileTwice) {
    for (int run = 0; run < 2; ++run) {
        CMP3Thread worker(m_target);
        worker.ScanDirectory(m_folder.Path());
    }
    EXPECT_EQ(8u, m_target.m_entries.size());
}

TEST_F(ScanTest, AMissingFolderAddsNothing) {
    CMP3Thread worker(m_target);
    worker.ScanDirectory(m_folder.PathOf("nowhere"));
    EXPECT_TRUE(m_target.m_entries.empty());
}

TEST_F(ScanTest, ALinkBackToAParentFolderIsNotFollowed) {
    fs::create_directory_symlink(m_folder.Path(), m_folder.PathOf("sub/loop"));
    CMP3Thread worker(m_target);
    worker.ScanDirectory(m_folder.Path());
    worker.Flush();
    EXPECT_EQ(4u, m_target.m_entries.size());
}

TEST(ScanGroups, ManyFilesArriveInGroupsInTheOrderTheyWereMade) {
    CMediaFolder folder;
    for (int i = 0; i < 1200; ++i) ASSERT_TRUE(WriteWavFile(folder.PathOf("t" + std::to_string(i) + ".wav"), 1));
    std::vector<std::string> walked;
    ForEachInDirectory(folder.Path(), [&](const std::string& name, bool) {
        walked.push_back(folder.Path() + "/" + name);
        return true;
    });
    CRecordingTarget target;
    {
        CMP3Thread worker(target);
        worker.ScanDirectory(folder.Path());
    }
    ASSERT_EQ(1200u, target.m_entries.size());
    EXPECT_GE(target.m_nScanBatches, 3) << "rows appear while the scan goes on, not all at its end";
    for (size_t i = 0; i < walked.size(); ++i) EXPECT_EQ(walked[i], target.m_entries[i].m_strPath);
}

TEST(ScanGroups, AWindowThatIsGoneStopsTheScan) {
    CMediaFolder folder;
    for (int i = 0; i < 1200; ++i) ASSERT_TRUE(WriteWavFile(folder.PathOf("t" + std::to_string(i) + ".wav"), 1));
    CRecordingTarget target;
    target.m_nAcceptBatches = 1;
    CMP3Thread worker(target);
    worker.ScanDirectory(folder.Path());
    EXPECT_TRUE(worker.TargetGone());
    EXPECT_EQ(1, target.m_nScanBatches);
    EXPECT_LT(target.m_entries.size(), 1200u);
}

// A target that, at a chosen hand-over, starts a clearing load of its list, as the user can at any moment.
class CSupersedingTarget : public CRecordingTarget {
public:
    std::shared_ptr<CLoadGeneration> m_pGeneration = std::make_shared<CLoadGeneration>();
    int m_nSupersedeAfter = 1 << 30;
    bool AddScannedEntries(std::vector<MediaEntry>&& entries) override {
        CRecordingTarget::AddScannedEntries(std::move(entries));
        if (m_nScanBatches == m_nSupersedeAfter) m_pGeneration->Supersede();
        return true;
    }
};

TEST(LoadGenerations, ASupersededScanStopsAndHandsOverNothingMore) {
    CMediaFolder folder;
    for (int i = 0; i < 1200; ++i) ASSERT_TRUE(WriteWavFile(folder.PathOf("t" + std::to_string(i) + ".wav"), 1));
    CSupersedingTarget target;
    target.m_nSupersedeAfter = 1;
    CMP3Thread worker(target, LoadTicket{target.m_pGeneration, target.m_pGeneration->Current()});
    worker.ScanDirectory(folder.Path());
    worker.Flush();
    EXPECT_TRUE(worker.Superseded());
    EXPECT_FALSE(worker.TargetGone());
    EXPECT_EQ(1, target.m_nScanBatches);
    EXPECT_LE(target.m_entries.size(), 512u);
}

TEST(LoadGenerations, LoadsOfTheCurrentGenerationAllArriveAndAStaleTicketLoadsNothing) {
    CMediaFolder folder;
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(WriteWavFile(folder.PathOf("t" + std::to_string(i) + ".wav"), 1));
    CSupersedingTarget target;
    const LoadTicket current{target.m_pGeneration, target.m_pGeneration->Current()};
    CMP3Thread(target, current).ScanDirectory(folder.Path());
    CMP3Thread(target, current).ScanDirectory(folder.Path());
    EXPECT_EQ(1200u, target.m_entries.size()) << "loads that only add share the generation";

    target.m_pGeneration->Supersede();
    CMP3Thread stale(target, current);
    stale.ScanDirectory(folder.Path());
    stale.LoadM3U(folder.PathOf("t1.wav"));
    EXPECT_TRUE(stale.Superseded());
    EXPECT_EQ(1200u, target.m_entries.size());
}

class M3ULoadTest : public testing::Test {
protected:
    void Write(const std::string& text) { ASSERT_TRUE(WriteMediaFile(m_list, MediaBytes(text.begin(), text.end()))); }
    CMediaFolder m_folder;
    std::string m_list = m_folder.PathOf("list.m3u");
    CRecordingTarget m_target;
};

TEST_F(M3ULoadTest, TakesEveryEntryLineWithThePathAsName) {
    Write("#EXTM3U\r\nC:\\x\\c.mp3\r\n\r\n# comment\r\nsub\\b.wav\r\nnotes.txt\r\n");
    CMP3Thread worker(m_target);
    worker.LoadM3U(m_list);
    ASSERT_EQ(3u, m_target.m_entries.size());
    EXPECT_EQ("C:\\x\\c.mp3", m_target.m_entries[0].m_strPath);
    EXPECT_EQ("c", m_target.m_entries[0].m_strSong) << "the full path is the name given";
    EXPECT_EQ(kErrorOpeningFile, m_target.m_entries[0].m_strAlbum) << "a missing MP3 cannot be opened";
    // Relative lines are joined to the list's folder where its path has one; this native path has
    // no backslash, so they stay as they are.
    EXPECT_EQ("sub\\b.wav", m_target.m_entries[1].m_strPath);
    EXPECT_EQ("", m_target.m_entries[1].m_strAlbum);
    EXPECT_EQ("notes.txt", m_target.m_entries[2].m_strPath) << "M3U lines are not filtered";
}

TEST_F(M3ULoadTest, AListWithoutHeaderKeepsItsFirstEntry) {
    Write("C:\\first.mp3\nC:\\second.mp3\n");
    CMP3Thread worker(m_target);
    worker.LoadM3U(m_list);
    ASSERT_EQ(2u, m_target.m_entries.size());
    EXPECT_EQ("C:\\first.mp3", m_target.m_entries[0].m_strPath);
    EXPECT_EQ("C:\\second.mp3", m_target.m_entries[1].m_strPath);
}

TEST_F(M3ULoadTest, EmptyOrMissingListsAddNothing) {
    Write("");
    CMP3Thread worker(m_target);
    worker.LoadM3U(m_list);
    worker.LoadM3U(m_folder.PathOf("missing.m3u"));
    EXPECT_TRUE(m_target.m_entries.empty());
}

class SavedLoadTest : public testing::Test {
protected:
    void SetUp() override {
        char previous[4096] = {};
        ASSERT_TRUE(::getcwd(previous, sizeof(previous)));
        m_strPrevious = previous;
        ASSERT_EQ(0, ::chdir(m_folder.Path().c_str()));
    }
    void TearDown() override { ASSERT_EQ(0, ::chdir(m_strPrevious.c_str())); }

    CMediaFolder m_folder;
    std::string m_strPrevious;
    CRecordingTarget m_target;
};

TEST_F(SavedLoadTest, EachListReadsItsOwnFileFromTheWorkingDirectory) {
    std::vector<MediaEntry> queue{{"C:\\q.mp3", "", "Q", "", "q"}};
    std::vector<MediaEntry> playList;
    for (int i = 0; i < 5000; ++i) playList.push_back({"C:\\" + std::to_string(i) + ".wav", "", "a", "", "s"});
    std::string error;
    ASSERT_TRUE(WriteSavedList("Queue.dat", queue, &error)) << error;
    ASSERT_TRUE(WriteSavedList("Playlist.dat", playList, &error)) << error;

    CRecordingTarget queueTarget;
    CMP3Thread(queueTarget).LoadSaved(163);
    EXPECT_EQ(queue, queueTarget.m_entries);

    CMP3Thread(m_target).LoadSaved(164);
    EXPECT_EQ(playList, m_target.m_entries);
    EXPECT_EQ(0, m_target.m_nScanBatches);
    EXPECT_GT(m_target.m_nSavedBatches, 1) << "a long list arrives in several groups";
    std::vector<bool> fits(m_target.m_fits.size(), false);
    fits.back() = true;
    EXPECT_EQ(fits, m_target.m_fits) << "the columns are fitted once, with the last group";
}

TEST_F(SavedLoadTest, NoSavedFileIsAnEmptyList) {
    CMP3Thread(m_target).LoadSaved(164);
    EXPECT_TRUE(m_target.m_entries.empty());
}

}  // namespace
