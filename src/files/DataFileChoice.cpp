#include "files/DataFileChoice.h"

#include <cctype>

namespace tidemar {

bool HasDataFileExtension(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || base.size() - dot != 4) return false;
    const char* want = "k7t";
    for (size_t i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(base[dot + 1 + i])) != want[i]) return false;
    return true;
}

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
                                          const std::string& errorCaption, const std::string& initialName) {
    const FileDialogRequest request = DataFileDialog(use, title, initialName);
    const std::optional<std::string> name =
        use == DataFileUse::Save ? prompts.SaveFileName(request) : prompts.OpenFileName(request);
    if (!name) return std::nullopt;
    if (!HasDataFileExtension(*name)) {
        prompts.Message(errorCaption, DataFileExtensionMessage, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return name;
}

}  // namespace tidemar
