#pragma once
// The interaction list ListSCRIPT of the control panel: a list box that shows
// the sorted script of the current video. The entries and the selection live
// in its ScriptList; the box only shows them and reports the user's clicks.

#include <QListWidget>

#include "script/script_entries.h"

namespace vv {

class ScriptListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ScriptListBox(QWidget* parent);

    const ScriptList& entries() const { return list_; }

    void clearEntries();
    // Replaces every entry (and the selection) with those of list.
    void setEntries(const ScriptList& list);
    // Inserts at the sorted place; returns the index (-1: list full).
    int addEntry(const QString& entry);
    void removeEntry(int i);
    void replaceEntry(int i, const QString& entry);

    int ListIndex() const { return list_.selected(); }
    // Selects entry i (-1: none). Like a click, a selection emits clicked()
    // so that the list's click behaviour runs.
    void setListIndex(int i);

signals:
    // A selection made by the user (left click, keys) or by setListIndex.
    void clicked();
    void doubleClicked();
    // The right mouse button was pressed; the selection stays.
    void rightPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void rebuild();
    void showSelection();

    ScriptList list_;
    bool updating_ = false;
};

} // namespace vv
