#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar: eleven top-level items (File, Edit, Notes, Rests, Symbols,
// Options, Voices..., Configuration..., AWE Control..., Windows, Help), every item carrying its
// command id, and the Practice menu, which a play leaves usable. The note, rest and symbol items
// show their bitmaps instead of their texts.
class MainMenu {
public:
    static constexpr int kTopLevelCount = 11;
    static constexpr int kAweControlPosition = 8;
    static constexpr int kWindowsPosition = 9;

    MainMenu(QMenuBar& bar, std::function<void(int commandId)> dispatch);

    QAction* action(int id) const;
    void setEnabled(int id, bool enabled);
    // The item's text; a tab leads the shortcut shown at the right.
    void setText(int id, const QString& text);
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    // Greys or enables the top-level item at position 0..10.
    void setTopLevelEnabled(int position, bool enabled);
    bool isTopLevelEnabled(int position) const;
    // Shortcuts work only while enabled (they are off while a song plays).
    void setAcceleratorsEnabled(bool enabled);

    // Fills the "Windows" menu with one item per name, ids 3500 on, the current one checked.
    void rebuildWindows(const QStringList& names, int current);
    QMenu& windowsMenu() const { return *windows_; }

private:
    QMenuBar& bar_;
    std::function<void(int)> dispatch_;
    std::map<int, QAction*> actions_;
    // The eleven top-level items in order. The menu bar's own list is not used: a maximised
    // document window adds its controls to it.
    std::vector<QAction*> topLevel_;
    QMenu* windows_ = nullptr;
};
