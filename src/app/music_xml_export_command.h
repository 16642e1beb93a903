#pragma once

#include <string>

class Ui;
struct SongDocument;

// File > "Export MusicXML...": asks for a file and writes the song's notation into it as a
// MusicXML score. Window thread.
class MusicXmlExportCommand {
public:
    static constexpr const char* kFilters = "MusicXML Files (*.musicxml)";

    explicit MusicXmlExportCommand(Ui& ui);

    // The file offered is the song's own name with the extension .musicxml, in lastDir for a
    // song without one. A name without an extension gets .musicxml. True when the file was
    // written.
    bool run(const SongDocument& document, const std::string& lastDir);

private:
    Ui& ui_;
};
