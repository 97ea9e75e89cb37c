#include "files/Recorder.h"

#include "files/DataFileChoice.h"
#include "files/DataRecord.h"

namespace tidemar {

namespace {

constexpr const char* RecordingActivity = "Recording to";
constexpr const char* RecordErrorCaption = "Record Error";

}  // namespace

int Recorder::StartRecording() {
    if (Recording()) return 0;
    const auto name = ChooseDataFile(prompts_, DataFileUse::Save, RecordDialogTitle, RecordDialogTitle, "");
    if (!name) return 0;
    std::string reason;
    if (!file_.Create(*name, &reason)) {
        prompts_.Message(RecordDialogTitle, "Cannot create " + *name + ":\n" + reason, MessageIcon::Exclamation);
        return 0;
    }
    chrome_.SetTitle(ActivityTitle(RecordingActivity, *name));
    chrome_.SetMenuText(RecordMenuItem, RecordStopText);
    return 1;
}

void Recorder::StopRecording() {
    if (!Recording()) return;
    const std::string name = file_.Name();
    prompts_.Message("Close Record File", name, MessageIcon::None);
    std::string reason;
    if (!file_.Close(&reason))
        prompts_.Message(RecordErrorCaption, "Cannot write to " + name + ":\n" + reason, MessageIcon::Exclamation);
    EndRecording();
}

bool Recorder::WriteRecord(const SonarState& state) {
    if (!Recording()) return false;
    const std::vector<uint8_t> record = BuildDataRecord(state, file_.PreviousRecordSize());
    if (record.empty()) return false;
    std::string reason;
    if (!file_.Append(record, &reason)) {
        const std::string name = file_.Name();
        std::string ignored;
        file_.Close(&ignored);
        EndRecording();
        prompts_.Message(RecordErrorCaption,
                         "Cannot write to " + name + ":\n" + reason +
                             "\nRecording has stopped; the records written before are kept.",
                         MessageIcon::Exclamation);
        return false;
    }
    if (file_.KilobytesChanged())
        chrome_.SetTitle(ActivityTitle(RecordingActivity, file_.Name(), file_.BytesWritten() / 1024));
    return true;
}

void Recorder::EndRecording() {
    chrome_.SetTitle(ProgramTitle);
    chrome_.SetMenuText(RecordMenuItem, RecordStartText);
}

}  // namespace tidemar
