#include "notation/event_list_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/event_names.h"
#include "model/omb_data.h"
#include "notation/note_detail_dialog.h"
#include "notation/tab_stop_delegate.h"

namespace {

// Where the list's fields start, in dialog units, and how long they can be: a time of ten
// characters, a track of two, a kind.
const QList<TabStopDelegate::Column> kListColumns = {{0, 10}, {35, 2}, {42, 0}};
constexpr int kListWidth = 330;
constexpr const char* kShowNames[] = {"Current Track", "Current Page", "Entire Song",
                                      "Tempo Changes"};
constexpr const char* kFieldLabels[] = {"Beat:", "Type:", "Value1:", "Value2:", "Value3:"};

template <std::size_t N>
QStringList namesOf(const std::array<const char*, N>& names, std::size_t count = N) {
    QStringList list;
    for (std::size_t i = 0; i < count; ++i) {
        list << QString::fromLatin1(names[i]);
    }
    return list;
}

// Event data is bytes; Latin-1 shows each byte as one character and gives it back unchanged.
std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace

EventListDialog::EventListDialog(QWidget* parent, OMBData& song, Ui& ui, bool trackDetail,
                                 EventListEditor::Page page, int& entryChannel,
                                 DialogRunner runDialog)
    : QDialog(parent),
      editor_(song, ui, trackDetail, page),
      song_(song),
      ui_(ui),
      entryChannel_(entryChannel),
      runDialog_(std::move(runDialog)) {
    setWindowTitle(trackDetail ? QStringLiteral("Track Detail") : QStringLiteral("Events"));
    list_ = new QListWidget(this);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new TabStopDelegate(list_, kListColumns));
    list_->setMinimumWidth(kListWidth);
    auto* side = new QVBoxLayout;
    side->addWidget(makeFields());
    side->addWidget(makeShowOptions());
    auto* buttons = new QHBoxLayout;
    create_ = new QPushButton(QStringLiteral("Create Event"), this);
    delete_ = new QPushButton(QStringLiteral("Delete Event"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    for (QPushButton* button : {create_, delete_, ok_}) {
        buttons->addWidget(button);
    }
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(side);
    editor_.setNoteDetailRunner([this](RecordedEdits& edits, int track, int index) {
        return runNoteDetail(edits, track, index);
    });
    connectControls();
    act([] {});
}

QWidget* EventListDialog::makeFields() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    for (int f = 0; f < EventFields::kData; ++f) {
        fields_[f] = new QLineEdit(box);
    }
    tracks_ = new QComboBox(box);
    for (int track = 1; track <= OMBData::kTrackCount; ++track) {
        tracks_->addItem(QString::number(track));
    }
    data_ = new QPlainTextEdit(box);
    data_->setTabChangesFocus(true);
    data_->setMaximumHeight(data_->fontMetrics().lineSpacing() * 4);
    form->addRow(QString::fromLatin1(kFieldLabels[0]), fields_[EventFields::kBeat]);
    form->addRow(QStringLiteral("Track:"), tracks_);
    for (int f = EventFields::kType; f < EventFields::kData; ++f) {
        form->addRow(QString::fromLatin1(kFieldLabels[f]), fields_[f]);
    }
    form->addRow(QStringLiteral("Data:"), data_);
    eventNames_ = new QComboBox(box);
    eventNames_->addItems(namesOf(event_names::kEventNames));
    systemNames_ = new QComboBox(box);
    systemNames_->addItems(namesOf(event_names::kSystemNames));
    metaNames_ = new QComboBox(box);
    metaNames_->addItems(namesOf(event_names::kMetaNames));
    form->addRow(QStringLiteral("Event Name:"), eventNames_);
    form->addRow(QStringLiteral("System Message Name:"), systemNames_);
    form->addRow(QStringLiteral("Meta Event Name:"), metaNames_);
    return box;
}

QWidget* EventListDialog::makeShowOptions() {
    auto* box = new QGroupBox(QStringLiteral("Show"), this);
    auto* layout = new QVBoxLayout(box);
    shows_ = new QButtonGroup(box);
    for (int show = 0; show < 4; ++show) {
        showOptions_[show] = new QRadioButton(QString::fromLatin1(kShowNames[show]), box);
        shows_->addButton(showOptions_[show], show);
        // The event list shows the page or the whole song; the track detail all four.
        const bool offered = editor_.trackDetail() ||
                             show == static_cast<int>(EventListShow::CurrentPage) ||
                             show == static_cast<int>(EventListShow::EntireSong);
        showOptions_[show]->setVisible(offered);
        if (offered) {
            layout->addWidget(showOptions_[show]);
        }
    }
    return box;
}

void EventListDialog::connectControls() {
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { act([this, row] { editor_.selectLine(row); }); });
    for (int f = 0; f < EventFields::kData; ++f) {
        connect(fields_[f], &QLineEdit::textEdited, this, [this, f](const QString& text) {
            editor_.fields().text[f] = text.toStdString();
            editor_.fields().edited[f] = true;
        });
    }
    connect(data_, &QPlainTextEdit::textChanged, this, [this] {
        editor_.fields().text[EventFields::kData] = bytesOf(data_->toPlainText());
        editor_.fields().edited[EventFields::kData] = true;
    });
    connect(tracks_, &QComboBox::activated, this,
            [this](int i) { act([this, i] { editor_.chooseTrack(i); }); });
    connect(eventNames_, &QComboBox::activated, this,
            [this](int i) { act([this, i] { editor_.chooseEventName(i); }); });
    connect(systemNames_, &QComboBox::activated, this,
            [this](int i) { act([this, i] { editor_.chooseSystemName(i); }); });
    connect(metaNames_, &QComboBox::activated, this,
            [this](int i) { act([this, i] { editor_.chooseMetaName(i); }); });
    connect(shows_, &QButtonGroup::idClicked, this, [this](int show) {
        act([this, show] { editor_.setShow(static_cast<EventListShow>(show)); });
    });
    connect(create_, &QPushButton::clicked, this,
            [this] { act([this] { editor_.createEvent(); }); });
    connect(delete_, &QPushButton::clicked, this,
            [this] { act([this] { editor_.deleteEvent(); }); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void EventListDialog::act(const std::function<void()>& action) {
    const int wasCurrent = editor_.currentLine();
    action();
    if (editor_.fillCount() != shownFill_) {
        refreshLines();
    } else if (wasCurrent >= 0 && wasCurrent < list_->count()) {
        list_->item(wasCurrent)->setText(QString::fromStdString(editor_.lines()[wasCurrent].text));
    }
    refreshFields();
}

void EventListDialog::refreshLines() {
    shownFill_ = editor_.fillCount();
    const QSignalBlocker blocker(list_);
    list_->clear();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(editor_.lines().size()));
    for (const EventListEditor::Line& line : editor_.lines()) {
        texts << QString::fromStdString(line.text);
    }
    list_->addItems(texts);
}

void EventListDialog::refreshFields() {
    const EventFields& fields = editor_.fields();
    for (int f = 0; f < EventFields::kData; ++f) {
        fields_[f]->setText(QString::fromStdString(fields.text[f]));
    }
    {
        const QSignalBlocker blocker(data_);
        data_->setPlainText(QString::fromLatin1(fields.text[EventFields::kData]));
    }
    tracks_->setCurrentIndex(fields.track);
    eventNames_->setCurrentIndex(fields.eventName);
    systemNames_->setCurrentIndex(fields.systemName);
    metaNames_->setCurrentIndex(fields.metaName);
    showOptions_[static_cast<int>(editor_.show())]->setChecked(true);
    const QSignalBlocker blocker(list_);
    list_->setCurrentRow(editor_.currentLine());
}

int EventListDialog::runNoteDetail(RecordedEdits& edits, int track, int index) {
    NoteDetailDialog dialog(this, song_, ui_, track, index, edits, entryChannel_);
    return runDialog_(dialog) == QDialog::Accepted ? dialog.noteIndex() : -1;
}

void EventListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    list_->setFocus(Qt::OtherFocusReason);
}

void EventListDialog::accept() {
    editor_.ok();
    QDialog::accept();
}
