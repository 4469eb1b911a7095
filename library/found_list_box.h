#pragma once
// The visible list of a media library (videos or music): the sorted display
// names of its FoundMedia, whose selection is the current entry. Scanning
// into it shows the player's messages.

#include <QListWidget>

#include "library/media_scan.h"

namespace vv {

class App;

class FoundListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FoundListBox(QWidget* parent);

    const FoundMedia& found() const { return found_; }

    // Searches startPath for the patterns ("SCANNING FOR MEDIA..." on the
    // message display, window events once per directory, the list-full and
    // unreadable-directory messages) and shows the new list; then selects its
    // first entry. cutLength: the length of the directory setting the display
    // names are made for.
    ScanResult scan(App& app, const QString& startPath, const QString& patterns, int cutLength);

    // Full path of the selected entry, "" when none is selected.
    QString selectedPath() const;
    // Selects entry i; its selection behaviour runs also when it was
    // selected already.
    void select(int i);

signals:
    // The selection changed (by the user, the keys or select()).
    void selected(int index);

private:
    void refresh();

    FoundMedia found_;
    bool refreshing_ = false;
};

} // namespace vv
