// Start-up: settings, the registered plan lists and a clean set of plan containers.
#include "planlist/PlanListStartup.h"

#include "planlist/PlanListFile.h"
#include "platform/Paths.h"

#include <optional>

Workspace::StartupResult LoadSettingsAndPlanLists(Workspace& ws, const std::string& programFolder) {
    Workspace::StartupResult result;
    ws.ReadFolder.clear();
    ws.SaveFolder.clear();
    ws.AutoScan = ws.CaseSensitivity = ws.BrainLABToolbar = false;
    ws.PlanListName.clear();

    const std::string settingsPath = SettingsFilePath(programFolder);
    // Temporaries of saves that a kill cut short are ours to clear (the files they were to
    // replace are whole): those of the settings file and of its lock file (whose making a kill
    // may cut short too) here, those of each registered list below; nothing else in the folder is.
    platform::RemoveStaleTemporariesOf(settingsPath);
    platform::RemoveStaleTemporariesOf(SettingsLockPath(settingsPath), platform::LinkHandling::Replace);
    // Another session sharing the folder must not change the register between our read and
    // our rewrite of it. Without a settings file nothing is written, and no lock file made.
    std::optional<platform::FileLock> lock;
    if (platform::PathMayExist(settingsPath)) lock.emplace(SettingsLockPath(settingsPath));
    platform::IniFile ini(settingsPath);
    const auto status = ini.Load();
    if (status == platform::IniFile::LoadStatus::Unreadable) {
        // Never rewrite a settings file we could not read: its register would be lost.
        result.Messages.push_back("Cannot read the settings file \"" + settingsPath + "\"" +
                                  (ini.LoadProblem().empty() ? "" : ": " + ini.LoadProblem()) +
                                  ". The program starts with default settings and "
                                  "leaves the file unchanged.");
    } else if (status == platform::IniFile::LoadStatus::Ok) {
        const StoredSettings stored = ReadStoredSettings(ini, ws.ComputerName);
        ws.ReadFolder = stored.ReadFolder;
        ws.SaveFolder = stored.SaveFolder;
        ws.AutoScan = stored.AutoScan;
        ws.CaseSensitivity = stored.CaseSensitivity;
        ws.BrainLABToolbar = stored.ToolBars.BrainLABRTP;
        result.ToolBars = stored.ToolBars;

        std::vector<std::string> kept;
        for (const std::string& name : ReadPlanListRegister(ini)) {
            const std::string path = PlanListFilePath(programFolder, name);
            // Dropped from the register only when nothing is there: a link to a share that is
            // away, or a file the system cannot look at now, is refused below but stays.
            if (!platform::FileExists(path) && !platform::PathMayExist(path)) continue;
            platform::RemoveStaleTemporariesOf(path);
            PlanListLoadResult loaded = LoadPlanListFile(path, name);
            if (loaded.status == PlanListFileStatus::Missing) {
                loaded.status = PlanListFileStatus::Unreadable;
                loaded.message = "Cannot reach the plan list file \"" + path + "\".";
            }
            if (loaded.status == PlanListFileStatus::Ok) {
                loaded.list.Modified = false;
                ws.PlanListName.push_back(std::move(loaded.list));
                kept.push_back(name);
            } else if (loaded.status == PlanListFileStatus::Unreadable) {
                // Loading it empty would let a later save wipe the real file: refuse it, but
                // keep it registered so it comes back once the file is readable again.
                result.Messages.push_back(loaded.message + " The list is not loaded and stays registered.");
                kept.push_back(name);
            }
        }
        // Written only when it changes: a start must not touch a file it has nothing to say to
        // (nor fail on one it may not write). Nor without its turn on the lock: the register was
        // read while another instance may have been changing it, and only tidying is lost when
        // the next start does it instead.
        const std::string before = ini.Text();
        WritePlanListRegister(ini, kept);
        if (ini.Text() != before && lock && lock->Held())
            if (const auto written = ini.Save(); !written.ok) result.Messages.push_back(written.message);
    }
    // Whatever happened above, the rest of the program relies on these.
    ws.ResetPlanContainers();
    ws.IndexRowColor.clear();
    ws.ImportPlanNumber = 0;
    return result;
}

