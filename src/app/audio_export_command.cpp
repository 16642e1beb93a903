#include "app/audio_export_command.h"

#include <filesystem>

#include "app/song_document.h"
#include "platform/built_in_synthesizer.h"
#include "platform/ui.h"
#include "playback/audio_exporter.h"
#include "playback/sound_font_state.h"

AudioExportCommand::AudioExportCommand(Ui& ui, const SoundFontState& sound)
    : ui_(ui), sound_(sound) {}

bool AudioExportCommand::run(const SongDocument& document, const std::string& lastDir,
                             const TrackMix& mix) {
    std::filesystem::path offered = document.fileName.empty()
                                        ? std::filesystem::path(lastDir) / "new.mid"
                                        : std::filesystem::path(document.fileName);
    const auto chosen = ui_.chooseFile(FileDialogKind::Save, kFilters, "Export Audio",
                                       offered.replace_extension(".wav").string());
    if (!chosen) {
        return false;
    }
    std::filesystem::path file = *chosen;
    if (!file.has_extension()) {
        file += ".wav";
    }
    std::error_code error;
    if (std::filesystem::exists(file, error) &&
        ui_.errorBox("Do you want to replace the file?", "File Exists",
                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    if (!synthesizer) {
        ui_.errorBox("The built-in synthesizer could not start");
        return false;
    }
    sound_.applyTo(*synthesizer);
    AudioExporter exporter(ui_);
    exporter.setLeadingBankSelect(sound_.leadingBankSelect());
    exporter.setLevel(level_);
    exporter.setTrackMix(mix);
    const auto progress =
        ui_.openProgress("Exporting " + file.filename().string() + "...", "Export Audio");
    if (exporter.exportSong(document.song, *synthesizer, file, *progress) !=
        AudioExporter::Result::Written) {
        return false;
    }
    ui_.notice(file.filename().string() + " Exported");
    return true;
}
