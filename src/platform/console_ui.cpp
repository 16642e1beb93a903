#include "platform/console_ui.h"

#include <ostream>

ConsoleUi::ConsoleUi(std::ostream& errorStream) : errorStream_(errorStream) {}

void ConsoleUi::notice(const std::string& text) {
    errorStream_ << text << '\n';
}

int ConsoleUi::showMessage(const std::string& text, const std::string&, unsigned type) {
    errorStream_ << "Error: " << text << '\n';
    return defaultAnswer(type);
}
