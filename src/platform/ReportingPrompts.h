#pragma once
// Prompts for a run that nobody answers (the window started with --quit-after, or closing on
// a signal): each message box and file dialog that would open is written to a stream, one
// line with its title and text, and taken as answered at once (OK, Cancel, Yes), so nothing
// waits on a modal dialog. PromptsRelay lets the window keep one Prompts while the program
// changes from asking to reporting.

#include <cstdio>
#include <optional>
#include <string>

#include "core/Prompts.h"

namespace tidemar {

class ReportingPrompts : public Prompts {
public:
    explicit ReportingPrompts(std::FILE* out = stderr) : out_(out) {}

    void Message(const std::string& caption, const std::string& text, MessageIcon) override {
        Report("message", caption, text);
    }
    // Yes: nobody is there to keep the program running, and it must still be able to end.
    bool AskYesCancel(const std::string& caption, const std::string& text) override {
        Report("question", caption, text + " Yes");
        return true;
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
        Report("file dialog", request.Title, "cancelled");
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
        Report("file dialog", request.Title, "cancelled");
        return std::nullopt;
    }

    // The line written for a prompt: "tidemar: message "Caption": text", the line breaks of
    // the text shown as " / " so that one prompt stays one line of a log.
    static std::string Line(const char* kind, const std::string& title, const std::string& text) {
        std::string line = std::string("tidemar: ") + kind + " \"" + title + "\" not shown: ";
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') continue;
            if (text[i] == '\n') {
                if (i + 1 < text.size()) line += " / ";
            } else {
                line += text[i];
            }
        }
        return line + "\n";
    }

private:
    void Report(const char* kind, const std::string& title, const std::string& text) {
        const std::string line = Line(kind, title, text);
        std::fwrite(line.data(), 1, line.size(), out_);
        std::fflush(out_);
    }

    std::FILE* out_;
};

// Passes every prompt on to the Prompts in use now.
class PromptsRelay : public Prompts {
public:
    explicit PromptsRelay(Prompts& prompts) : use_(&prompts) {}
    void Use(Prompts& prompts) { use_ = &prompts; }

    void Message(const std::string& caption, const std::string& text, MessageIcon icon) override {
        use_->Message(caption, text, icon);
    }
    bool AskYesCancel(const std::string& caption, const std::string& text) override {
        return use_->AskYesCancel(caption, text);
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
        return use_->OpenFileName(request);
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
        return use_->SaveFileName(request);
    }

private:
    Prompts* use_;
};

}  // namespace tidemar
