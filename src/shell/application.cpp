#include "shell/application.h"

Application::Application(const std::filesystem::path& settingsFile, Ui& ui, Clock& clock)
    : ui(ui), clock(clock), profile(settingsFile), settings(profile, ui) {
    voices.loadAtStartup(settings);
}
