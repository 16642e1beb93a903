#include "shell/help_window.h"

#include <QFile>
#include <QUrl>

#include "platform/data_directory.h"

HelpWindow::HelpWindow() {
    setWindowTitle(QStringLiteral("tolvar 32 Help"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

void HelpWindow::showStartPage() {
    const std::filesystem::path page = dataDirectory() / "help" / "index.html";
    if (QFile::exists(QString::fromStdString(page.string()))) {
        setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())));
    } else {
        setPlainText(QStringLiteral("The help pages are not installed: %1 is missing.")
                         .arg(QString::fromStdString(page.string())));
    }
    show();
    raise();
    activateWindow();
}
