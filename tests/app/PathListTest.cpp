// Paths from outside: the kind of load each asks for, the block a second start sends, the running
// player's name.
#include "app/PathList.h"

#include <gtest/gtest.h>

TEST(PathListTest, FoldersScanM3UFilesReadAndAnythingElseIsOneEntry) {
    EXPECT_EQ(PathKind::folder, KindOfPath("C:\\music.m3u", true));
    EXPECT_EQ(PathKind::playList, KindOfPath("C:\\a\\List.M3U", false));
    EXPECT_EQ(PathKind::file, KindOfPath("C:\\a\\song.mp3", false));
    EXPECT_EQ(PathKind::file, KindOfPath("m3u", false));
}

TEST(PathListTest, PathsSurviveTheBlockAndEmptyOnesAreDropped) {
    const std::vector<std::string> paths{"C:\\a b\\c.mp3", "", "D:\\list.m3u"};
    const std::string block = PackPaths(paths);
    EXPECT_EQ((std::vector<std::string>{"C:\\a b\\c.mp3", "D:\\list.m3u"}), UnpackPaths(block.data(), block.size()));
    EXPECT_EQ(std::vector<std::string>{"E:\\x"}, UnpackPaths("E:\\x", 4)) << "no final zero";
    EXPECT_TRUE(UnpackPaths(nullptr, 0).empty());
}

TEST(PathListTest, TheRunningPlayerIsNamedByItsProgramFileWhateverTheCase) {
    EXPECT_EQ(RunningPlayerKey("C:\\Melodeck\\Melodeck.exe"), RunningPlayerKey("c:\\MELODECK\\melodeck.EXE"));
    EXPECT_NE(RunningPlayerKey("C:\\a\\Melodeck.exe"), RunningPlayerKey("C:\\b\\Melodeck.exe"));
}
