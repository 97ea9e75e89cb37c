#pragma once
// The steps of the configuration-table editor that touch names, files and tables, so the
// dialog only shows what these leave in SonarState (EditConfigName, ConfigPathBuffer, the
// working copy) and the messages they return.

#include <string>
#include <string_view>
#include <vector>

#include "core/SonarState.h"
#include "core/Prompts.h"
#include "settings/UserConfigEntry.h"

namespace tidemar {

inline constexpr std::string_view DefaultConfigName = "Default";
inline constexpr std::string_view LoadConfigCaption = "Load Configuration";
inline constexpr std::string_view SaveConfigCaption = "Save Configuration As";
inline constexpr std::string_view ConfigExtensionRefused = "File extension must be .CFG";

// A configuration name as the dialogs show it: names shorter than 31 characters whole,
// longer ones as their first 10 characters, " ..." and the part from the last '/' on
// ("/home/surv ..../site.cfg"); a long name without any '/' is shown whole.
std::string ShortConfigName(const std::string& name);

// True when the three characters after the last dot of the file name are "cfg" in any
// case (so "a.CFG" and "a.cfgx" pass, "a.cf" and "cfg" do not).
bool HasConfigExtension(const std::string& path);

// "Load..." once a file was chosen: EditConfigName and ConfigPathBuffer become the path;
// with a .CFG extension the file is read into the working copy (a file that cannot be
// read changes nothing and shows nothing), otherwise a message. True when the working
// copy was replaced, so the boxes must be refilled (CellTextsOf).
bool LoadConfigFromEditor(SonarState& state, const std::string& path, std::vector<MessageText>& messages);

// "Save As..." once a name was chosen: EditConfigName and ConfigPathBuffer become the
// path; with a .CFG extension, and only when the file can be created, the boxes are
// committed without messages and the active table is written. True when the file was
// written.
bool SaveConfigFromEditor(SonarState& state, const std::string& path, const UserConfigCellTexts& cells,
                          std::vector<MessageText>& messages);

// "Default": EditConfigName becomes "Default", the active table the built-in one, and the
// working copy takes its frequencies, absorptions and pulse lengths.
void ResetConfigInEditor(SonarState& state);

// What Cancel puts back: the active table and the names as the editor found them, so that
// the name shown and the table in force never part.
struct ConfigEditorOpening {
    UserConfigTable Active{};
    std::string ConfigFile;
    std::string EditConfigName;
};

// Opening: the working copy takes the active table (range labels included) for the boxes.
// EditConfigName is left as Load, Save As or Default last set it (or as the start-up load
// named it): Ok stores that name as ConfigFile.
ConfigEditorOpening OpenConfigEditor(SonarState& state);

// "Cancel": the active table, ConfigFile and EditConfigName return to what they were when
// the editor opened (Default and Save As change the active table at once).
void CancelConfigEditor(SonarState& state, const ConfigEditorOpening& opening);

// A cell's value in the working copy, its "D" button (the built-in table's value) and one
// click of its scroll arrows (+1 up, -1 down).
int& WorkingCell(SonarState& state, int row, UserConfigColumn column);
void DefaultConfigCell(SonarState& state, int row, UserConfigColumn column);
void StepConfigCell(SonarState& state, int row, UserConfigColumn column, int direction);

// The file dialogs of "Load..." (offering ConfigPathBuffer) and "Save As..." (offering an
// empty name: the buffer is emptied first).
FileDialogRequest LoadConfigRequest(const SonarState& state);
FileDialogRequest SaveConfigRequest(SonarState& state);

// "Ok": ConfigFile takes EditConfigName, then the boxes are committed with messages.
// True when nothing was refused, i.e. the dialog may close.
bool AcceptConfigEditor(SonarState& state, const UserConfigCellTexts& cells, std::vector<MessageText>& messages);

}  // namespace tidemar
