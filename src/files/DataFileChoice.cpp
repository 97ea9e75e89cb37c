#include "files/DataFileChoice.h"

#include "core/FileNames.h"

namespace tidemar {

bool HasDataFileExtension(const std::string& name) { return HasExtension(name, "k7t"); }

FileDialogRequest DataFileDialog(DataFileUse use, const std::string& title, const std::string& initialName) {
    FileDialogRequest request;
    request.Title = title;
    request.FilterName = "SK7T Sonar Files (*.K7T)";
    request.Pattern = "*.K7T";
    request.DefaultExtension = "K7T";
    request.InitialName = initialName;
    request.PathMustExist = true;
    request.HideReadOnly = true;
    if (use == DataFileUse::Save)
        request.PromptOverwrite = true;
    else
        request.FileMustExist = true;
    return request;
}

std::optional<std::string> ChooseDataFile(Prompts& prompts, DataFileUse use, const std::string& title,
                                          const std::string& errorCaption, const std::string& initialName,
                                          std::function<bool(const std::string&)> refuses) {
    FileDialogRequest request = DataFileDialog(use, title, initialName);
    request.Refuses = std::move(refuses);
    const std::optional<std::string> name =
        use == DataFileUse::Save ? prompts.SaveFileName(request) : prompts.OpenFileName(request);
    if (!name) return std::nullopt;
    if (!HasDataFileExtension(*name)) {
        prompts.Message(errorCaption, DataFileExtensionMessage, MessageIcon::Exclamation);
        return std::nullopt;
    }
    // Prompts that cannot ask again (scripted, unattended) get the same refusal here.
    if (request.Refuses && request.Refuses(*name)) return std::nullopt;
    return name;
}

}  // namespace tidemar
