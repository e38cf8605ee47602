#pragma once
// Where Melodeck keeps its options (the INI file) and its saved lists (Queue.dat, Playlist.dat).
// A copy run from a folder it can write keeps them as it always has: the INI file beside the program
// file, the lists in the folder it started in. An installed copy cannot write beside itself on
// Windows, so it, and any copy started where its user cannot write, keeps all three in the user's
// application data folder, under "Melodeck".
#include <string>
#include <utility>
#include <vector>

// What the program finds out about itself at start-up.
struct DataFolderFacts {
    std::string programPath;  // full path of the program file
    std::string startFolder;  // the working directory at start-up
    bool installedMarker = false;  // the installer's marker file lies beside the program file
    bool programFolderWritable = false;
    bool startFolderWritable = false;
    std::string appDataFolder;  // the user's application data folder; empty when there is none
};

struct DataFolderChoice {
    bool installed = false;  // kept in userFolder
    std::string userFolder;  // <application data>\Melodeck, to be made when missing; empty otherwise
    std::string iniPath;
    std::string listFolder;
};

// The file the installer puts beside the program file.
constexpr const char* kInstalledMarkerName = "Melodeck.installed";
constexpr const char* kUserFolderName = "Melodeck";

// The folder part of a path (up to its last backslash or slash); empty when it has none.
std::string FolderOf(const std::string& path);
// path with its last three characters replaced by "ini"; empty when it is shorter than three.
std::string IniPathBeside(const std::string& programPath);

DataFolderChoice ChooseDataFolder(const DataFolderFacts& facts);

// Files written by earlier versions where an installed copy used to look (the INI file beside the
// program file, the lists in the start folder), each paired with its place in the user folder. The
// caller copies each only when its target does not exist yet, so nothing saved before is lost and
// nothing newer is overwritten.
std::vector<std::pair<std::string, std::string>> FilesToCarryOver(const DataFolderFacts& facts,
                                                                  const DataFolderChoice& choice);
