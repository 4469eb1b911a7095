#include "script/script_list_box.h"

#include <QMouseEvent>

namespace vv {

ScriptListBox::ScriptListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (updating_)
            return;
        list_.select(row);
        emit clicked();
    });
}

void ScriptListBox::rebuild()
{
    updating_ = true;
    QListWidget::clear();
    addItems(list_.entries());
    updating_ = false;
    showSelection();
}

void ScriptListBox::showSelection()
{
    updating_ = true;
    setCurrentRow(list_.selected(), QItemSelectionModel::ClearAndSelect);
    if (list_.selected() < 0)
        clearSelection();
    updating_ = false;
}

void ScriptListBox::clearEntries()
{
    list_.clear();
    rebuild();
}

void ScriptListBox::setEntries(const ScriptList& list)
{
    list_ = list;
    rebuild();
}

int ScriptListBox::addEntry(const QString& entry)
{
    const int at = list_.insert(entry);
    if (at >= 0) {
        updating_ = true;
        insertItem(at, entry);
        updating_ = false;
        showSelection();
    }
    return at;
}

void ScriptListBox::removeEntry(int i)
{
    if (i < 0 || i >= list_.count())
        return;
    list_.removeAt(i);
    updating_ = true;
    delete takeItem(i);
    updating_ = false;
    showSelection();
}

void ScriptListBox::replaceEntry(int i, const QString& entry)
{
    if (i < 0 || i >= list_.count())
        return;
    list_.replaceAt(i, entry);
    item(i)->setText(entry);
}

void ScriptListBox::setListIndex(int i)
{
    list_.select(i);
    showSelection();
    if (list_.selected() >= 0)
        emit clicked();
}

void ScriptListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit rightPressed();
        return;
    }
    const int before = list_.selected();
    QListWidget::mousePressEvent(event);
    // A click on the entry that is already selected is still a click (a
    // click that changes the selection was reported by currentRowChanged).
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) &&
        list_.selected() == before)
        emit clicked();
}

void ScriptListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit doubleClicked();
}

} // namespace vv
