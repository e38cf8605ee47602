#include "settings/DataFolder.h"

#include "library/SavedList.h"

namespace {
constexpr int kQueueListId = 163;
constexpr int kPlayListId = 164;

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string IniPathBeside(const std::string& programPath) {
    if (programPath.size() < 3) return {};
    return programPath.substr(0, programPath.size() - 3) + "ini";
}

DataFolderChoice ChooseDataFolder(const DataFolderFacts& facts) {
    DataFolderChoice choice;
    const bool installed = facts.installedMarker || !facts.programFolderWritable || !facts.startFolderWritable;
    // Without an application data folder there is nowhere better: the old places are kept.
    if (installed && !facts.appDataFolder.empty()) {
        choice.installed = true;
        choice.userFolder = JoinPath(facts.appDataFolder, kUserFolderName);
        choice.iniPath = JoinPath(choice.userFolder, NameOf(IniPathBeside(facts.programPath)));
        choice.listFolder = choice.userFolder;
        return choice;
    }
    choice.iniPath = IniPathBeside(facts.programPath);
    choice.listFolder = facts.startFolder;
    return choice;
}

std::vector<std::pair<std::string, std::string>> FilesToCarryOver(const DataFolderFacts& facts,
                                                                  const DataFolderChoice& choice) {
    std::vector<std::pair<std::string, std::string>> files;
    if (!choice.installed) return files;
    const std::string oldIni = IniPathBeside(facts.programPath);
    if (!oldIni.empty() && oldIni != choice.iniPath) files.emplace_back(oldIni, choice.iniPath);
    if (!facts.startFolder.empty() && facts.startFolder != choice.listFolder)
        for (int listId : {kPlayListId, kQueueListId}) {
            const std::string name = SavedListFileName(listId);
            files.emplace_back(JoinPath(facts.startFolder, name), JoinPath(choice.listFolder, name));
        }
    return files;
}
