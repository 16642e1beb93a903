#include "shell/play_list_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "shell/play_list_host.h"

namespace {

QString fromFileName(const std::string& name) {
    return QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size()));
}

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* made = new QPushButton(QString::fromLatin1(text), parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

}  // namespace

PlayListWindow::PlayListWindow(QWidget* owner, PlayList list, PlayListHost& host)
    : QDialog(owner), list_(std::move(list)), host_(host) {
    setWindowTitle(QStringLiteral("Play List"));
    setObjectName(QStringLiteral("playListWindow"));
    setModal(false);
    buildControls();
    directory_->setText(fromFileName(list_.directory()));
    for (const std::string& name : list_.midiFiles()) {
        files_->addItem(fromFileName(name));
    }
    files_->setCurrentRow(0);
    fillPlayList();
    pauseAfterEach_->setChecked(list_.pauseAfterEach);
    showWithFocus();
}

void PlayListWindow::buildControls() {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Play List Directory:"), this), 0, 0, 1, 3);
    directory_ = new QLineEdit(this);
    directory_->setObjectName(QStringLiteral("directory"));
    directory_->setEnabled(false);
    layout->addWidget(directory_, 1, 0, 1, 3);
    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("files"));
    layout->addWidget(files_, 2, 0, 4, 1);
    play_ = button("Play", "play", this);
    insert_ = button("Insert", "insert", this);
    delete_ = button("Delete", "delete", this);
    layout->addWidget(play_, 2, 1);
    layout->addWidget(insert_, 3, 1);
    layout->addWidget(delete_, 4, 1);
    playList_ = new QListWidget(this);
    playList_->setObjectName(QStringLiteral("playList"));
    layout->addWidget(playList_, 2, 2, 4, 1);
    pauseAfterEach_ = new QCheckBox(QStringLiteral("Pause after each"), this);
    pauseAfterEach_->setObjectName(QStringLiteral("pauseAfterEach"));
    layout->addWidget(pauseAfterEach_, 6, 0);
    ok_ = button("OK", "ok", this);
    ok_->setDefault(true);
    layout->addWidget(ok_, 6, 2, Qt::AlignRight);

    connect(play_, &QPushButton::clicked, this, [this] { play(); });
    connect(insert_, &QPushButton::clicked, this, [this] { insert(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteEntry(); });
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
    connect(pauseAfterEach_, &QCheckBox::toggled, this,
            [this](bool checked) { list_.pauseAfterEach = checked; });
    connect(playList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_) {
            list_.select(row);
        }
    });
}

void PlayListWindow::fillPlayList() {
    filling_ = true;
    playList_->clear();
    for (const std::string& name : list_.entries()) {
        playList_->addItem(fromFileName(name));
    }
    playList_->addItem(QString::fromLatin1(PlayList::kEndOfList));
    playList_->setCurrentRow(list_.selected());
    filling_ = false;
}

void PlayListWindow::insert() {
    list_.insert(files_->currentRow());
    fillPlayList();
}

void PlayListWindow::deleteEntry() {
    list_.deleteSelected();
    fillPlayList();
}

void PlayListWindow::play() {
    const std::optional<std::string> path = list_.startPlay();
    fillPlayList();
    if (path) {
        playEntry(*path);
    }
}

void PlayListWindow::PlayNextEntry(bool stoppedByUser) {
    showWithFocus();
    const std::optional<std::string> path = list_.nextEntry(stoppedByUser);
    fillPlayList();
    if (path) {
        playEntry(*path);
    }
}

void PlayListWindow::playEntry(const std::string& path) {
    hide();
    // A list whose next song cannot be opened stops there; the window comes back either way,
    // since nothing else would show it again.
    if (!host_.playListSong(path)) {
        showWithFocus();
    }
}

void PlayListWindow::showWithFocus() {
    show();
    raise();
    activateWindow();
}

void PlayListWindow::accept() {
    if (list_.save()) {
        host_.playListClosing(false);
    }
}

void PlayListWindow::reject() {
    host_.playListClosing(true);
}
