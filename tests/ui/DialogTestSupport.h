#pragma once
// Shared pieces of the dialog tests: a DispatchTarget that records what the commands draw,
// and a way to answer the modal dialog a command opens.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DispatchPing.h"
#include "core/SonarState.h"

namespace tidemar::uitest {

// Records every drawing call in order; the grid calls note the sound velocity they drew with.
class RecordingTarget : public DispatchTarget {
public:
    explicit RecordingTarget(const SonarState& state) : state_(state) {}
    std::vector<std::string> Calls;

    void ResetEchoHistory() override { Calls.push_back("ResetEchoHistory"); }
    void RedrawSonarImage() override { Calls.push_back("RedrawSonarImage"); }
    void DrawFrequencyReadout() override { Calls.push_back("DrawFrequencyReadout"); }
    void RemoveGrid() override { Calls.push_back("RemoveGrid " + std::to_string(state_.SoundVelocityMeters)); }
    void DrawGrid() override { Calls.push_back("DrawGrid " + std::to_string(state_.SoundVelocityMeters)); }
    void DrawUserTextBox() override { Calls.push_back("DrawUserTextBox"); }
    void DrawHeadPosition() override { Calls.push_back("DrawHeadPosition"); }

private:
    const SonarState& state_;
};

// Runs `command` (which opens a modal dialog) and hands the dialog, once it is up, to
// `answer`, which must close it. True when a dialog of type D was seen.
template <typename D>
bool AnswerDialog(const std::function<void()>& command, const std::function<void(D&)>& answer) {
    auto seen = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [seen, answer, tries, attempt] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            *seen = true;
            answer(*dialog);
            return;
        }
        if (QWidget* other = QApplication::activeModalWidget()) {
            other->close();  // not the one expected: do not hang
            return;
        }
        if (++*tries < 200) QTimer::singleShot(10, *attempt);
    };
    QTimer::singleShot(0, *attempt);
    command();
    *attempt = nullptr;
    return *seen;
}

}  // namespace tidemar::uitest
