#pragma once

#include "notation/option_dialog.h"

class OMBData;
class QLineEdit;

// "Title / Author": asked before printing a song that has no title. Both start empty.
class TitleAuthorDialog : public OptionDialog {
    Q_OBJECT

public:
    TitleAuthorDialog(QWidget* parent, OMBData& song);

    QLineEdit& title() { return *title_; }
    QLineEdit& author() { return *author_; }

protected:
    void apply() override;

private:
    OMBData& song_;
    QLineEdit* title_;
    QLineEdit* author_;
};
