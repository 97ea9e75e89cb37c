#pragma once
// Choosing a .K7T file in a file dialog, for recording, copying and playback. The name is
// kept as chosen (Linux names are case-sensitive); only the extension check ignores case.

#include <functional>
#include <optional>
#include <string>

#include "core/Prompts.h"

namespace tidemar {

inline constexpr const char* DataFileExtensionMessage = "File extension must be .K7T";

// True when the last component of the name ends in ".K7T" in any letter case.
bool HasDataFileExtension(const std::string& name);

enum class DataFileUse { Save, Open };

// The dialog of a data file: "SK7T Sonar Files (*.K7T)", default extension K7T, read-only
// box hidden; saving asks for an existing folder and before replacing a file, opening for
// an existing file.
FileDialogRequest DataFileDialog(DataFileUse use, const std::string& title, const std::string& initialName);

// Shows the dialog. Cancel gives nothing; a name without the .K7T extension gives the
// extension message under errorCaption and nothing. `refuses`, when given, turns down a
// name (and says why) before the dialog asks whether to replace the file.
std::optional<std::string> ChooseDataFile(Prompts& prompts, DataFileUse use, const std::string& title,
                                          const std::string& errorCaption, const std::string& initialName,
                                          std::function<bool(const std::string&)> refuses = {});

}  // namespace tidemar
