// Where the options and the saved lists live, for the copies a user may run.
#include "settings/DataFolder.h"

#include <gtest/gtest.h>

namespace {

DataFolderFacts Facts(bool marker, bool programWritable, bool startWritable) {
    DataFolderFacts facts;
    facts.programPath = "C:\\Program Files\\Melodeck\\Melodeck.exe";
    facts.startFolder = "D:\\Music";
    facts.installedMarker = marker;
    facts.programFolderWritable = programWritable;
    facts.startFolderWritable = startWritable;
    facts.appDataFolder = "C:\\Users\\ann\\AppData\\Roaming";
    return facts;
}

TEST(DataFolderTest, ACopyThatCanWriteWhereItRunsKeepsItsOldPlaces) {
    const DataFolderChoice choice = ChooseDataFolder(Facts(false, true, true));
    EXPECT_FALSE(choice.installed);
    EXPECT_EQ("C:\\Program Files\\Melodeck\\Melodeck.ini", choice.iniPath);
    EXPECT_EQ("D:\\Music", choice.listFolder);
    EXPECT_TRUE(choice.userFolder.empty());
    EXPECT_TRUE(FilesToCarryOver(Facts(false, true, true), choice).empty());
}

// The installer's mark, a program folder or a start folder the user cannot write: all in the user folder.
TEST(DataFolderTest, InstalledOrUnwritableCopiesKeepEverythingInTheUserFolder) {
    for (const DataFolderFacts& facts : {Facts(true, true, true), Facts(false, false, true), Facts(false, true, false)}) {
        const DataFolderChoice choice = ChooseDataFolder(facts);
        EXPECT_TRUE(choice.installed);
        EXPECT_EQ("C:\\Users\\ann\\AppData\\Roaming\\Melodeck", choice.userFolder);
        EXPECT_EQ("C:\\Users\\ann\\AppData\\Roaming\\Melodeck\\Melodeck.ini", choice.iniPath);
        EXPECT_EQ(choice.userFolder, choice.listFolder);
    }
}

TEST(DataFolderTest, WithoutAnApplicationDataFolderTheOldPlacesStay) {
    DataFolderFacts facts = Facts(true, false, false);
    facts.appDataFolder.clear();
    const DataFolderChoice choice = ChooseDataFolder(facts);
    EXPECT_FALSE(choice.installed);
    EXPECT_EQ("D:\\Music", choice.listFolder);
}

// What earlier versions wrote where an installed copy looked is carried over: the INI file beside the
// program, the lists of the start folder. Another program name keeps its own INI name.
TEST(DataFolderTest, EarlierFilesAreCarriedIntoTheUserFolder) {
    DataFolderFacts facts = Facts(false, false, true);
    facts.programPath = "C:\\Apps\\Deck.exe";
    const DataFolderChoice choice = ChooseDataFolder(facts);
    const std::string user = "C:\\Users\\ann\\AppData\\Roaming\\Melodeck\\";
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"C:\\Apps\\Deck.ini", user + "Deck.ini"},
                                                                 {"D:\\Music\\Playlist.dat", user + "Playlist.dat"},
                                                                 {"D:\\Music\\Queue.dat", user + "Queue.dat"}}),
              FilesToCarryOver(facts, choice));
    facts.startFolder = user.substr(0, user.size() - 1);
    EXPECT_EQ(1u, FilesToCarryOver(facts, ChooseDataFolder(facts)).size()) << "the lists are there already";
}

TEST(DataFolderTest, FolderAndIniOfAPath) {
    EXPECT_EQ("C:\\a", FolderOf("C:\\a\\b.exe"));
    EXPECT_EQ("", FolderOf("b.exe"));
    EXPECT_EQ("C:\\a\\b.ini", IniPathBeside("C:\\a\\b.exe"));
    EXPECT_EQ("", IniPathBeside("ab"));
}

}  // namespace
