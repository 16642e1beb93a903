#include "support/scripted_ui.h"

std::vector<std::string> ScriptedUi::texts() const {
    std::vector<std::string> result;
    for (const Box& box : boxes) {
        result.push_back(box.text);
    }
    return result;
}

int ScriptedUi::showMessage(const std::string& text, const std::string& caption, unsigned type) {
    boxes.push_back({text, caption, type});
    if (answers_.empty()) {
        return defaultAnswer(type);
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::chooseFile(FileDialogKind kind,
                                                  const std::string& filterDescription,
                                                  const std::string& title,
                                                  const std::string& initialName) {
    fileDialogs.push_back({kind, filterDescription, title, initialName});
    if (fileAnswers_.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}
