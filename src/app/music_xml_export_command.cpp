#include "app/music_xml_export_command.h"

#include <filesystem>

#include "app/song_document.h"
#include "platform/ui.h"
#include "staff/music_xml_exporter.h"

MusicXmlExportCommand::MusicXmlExportCommand(Ui& ui) : ui_(ui) {}

bool MusicXmlExportCommand::run(const SongDocument& document, const std::string& lastDir) {
    std::filesystem::path offered = document.fileName.empty()
                                        ? std::filesystem::path(lastDir) / "new.mid"
                                        : std::filesystem::path(document.fileName);
    const auto chosen = ui_.chooseFile(FileDialogKind::Save, kFilters, "Export MusicXML",
                                       offered.replace_extension(".musicxml").string());
    if (!chosen) {
        return false;
    }
    std::filesystem::path file = *chosen;
    if (!file.has_extension()) {
        file += ".musicxml";
    }
    std::error_code error;
    if (std::filesystem::exists(file, error) &&
        ui_.errorBox("Do you want to replace the file?", "File Exists",
                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    if (!MusicXmlExporter(ui_).exportSong(document.song, file)) {
        return false;
    }
    ui_.notice(file.filename().string() + " Exported");
    return true;
}
