#include "shell/print_commands.h"

#include <QPrintDialog>
#include <QPrinter>
#include <memory>

#include "app/application.h"
#include "model/song_values.h"
#include "model/undo_history.h"
#include "notation/staff_window.h"
#include "notation/title_author_dialog.h"
#include "platform/wait_cursor.h"
#include "shell/document_windows.h"
#include "shell/option_dialogs.h"

namespace {

constexpr int kLastPage = 1000;

PrintJob::Range rangeOf(const QPrinter& printer) {
    switch (printer.printRange()) {
        case QPrinter::AllPages:
            return PrintJob::Range::All;
        case QPrinter::PageRange:
            return PrintJob::Range::Pages;
        default:
            return PrintJob::Range::Selection;
    }
}

}  // namespace

PrintCommands::PrintCommands(Application& app, const DocumentWindows& documents,
                             OptionDialogs& dialogs, std::function<void()> applied)
    : app_(app), documents_(documents), dialogs_(dialogs), applied_(std::move(applied)) {}

bool PrintCommands::askTitle(StaffWindow& staff) {
    OMBData& song = staff.document().song;
    if (!song.title().empty()) {
        return true;
    }
    const SongValues before = SongValues::of(song);
    TitleAuthorDialog dialog(&dialogs_.parent(), song);
    if (dialogs_.run(dialog) != QDialog::Accepted) {
        return false;
    }
    UndoHistory& history = staff.document().history;
    auto step = std::make_unique<UndoStep>("Title / Author", UndoStep::kNowhere);
    step->add(std::make_unique<SongValuesChange>(before, history.song()));
    history.record(std::move(step));
    applied_();
    return true;
}

void PrintCommands::print() {
    if (StaffWindow* staff = documents_.current()) {
        // A cancelled Title / Author dialog still prints, without a title.
        askTitle(*staff);
        printSong(*staff);
    }
}

void PrintCommands::printSong(StaffWindow& staff) {
    PrintJob job(staff.document().song, staff.view(), app_.ui, symbols_, staff.page().firstBar());
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tolvar 32 Print"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(job.page(), job.page());
    QPrintDialog dialog(&printer, &dialogs_.parent());
    dialog.setMinMax(1, kLastPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    if (dialogs_.run(dialog) != QDialog::Accepted) {
        return;
    }
    const WaitCursor wait(app_.ui);
    job.print(printer, rangeOf(printer), printer.fromPage(), printer.toPage());
}

void PrintCommands::preview() {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    StaffWindow& staff = *current;
    if (!askTitle(staff)) {
        return;
    }
    const WaitCursor wait(app_.ui);
    auto* window = new PreviewWindow(&dialogs_.parent(), QStringLiteral("Print Preview"),
                                     staff.document().song, staff.view(), app_.ui, symbols_,
                                     staff.page().firstBar(), [this, &staff] { printSong(staff); });
    // The preview shows the staff window's song, so it goes with that window.
    QObject::connect(&staff, &QObject::destroyed, window, [window] { delete window; });
    preview_ = window;
    window->show();
}
