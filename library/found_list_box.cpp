#include "library/found_list_box.h"

#include "app/app.h"
#include "app/text_codec.h"
#include "video/displays.h"

namespace vv {

FoundListBox::FoundListBox(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!refreshing_)
            emit selected(row);
    });
}

void FoundListBox::refresh()
{
    refreshing_ = true;
    clear();
    addItems(found_.names());
    refreshing_ = false;
}

ScanResult FoundListBox::scan(App& app, const QString& startPath, const QString& patterns, int cutLength)
{
    found_.clear();
    refresh();
    app.MessageDisplay().INITIALIZE(QStringLiteral("SCANNING FOR MEDIA..."), 3);
    ScanCallbacks callbacks;
    callbacks.directory = [&app](const QString&) {
        app.sv.processEvents();
        return true;
    };
    callbacks.listFull = [&app](const QString& message) { app.sv.messageBox(message); };
    const ScanResult result = scanMedia(found_, startPath, patterns, cutLength, callbacks);
    refresh();
    if (result.end == ScanResult::End::StartUnreadable)
        app.sv.messageBox(QStringLiteral("Cannot read the directory:\r\n") + printableText(startPath), Services::Icon::Information);
    if (!found_.isEmpty())
        select(0);
    app.MessageDisplay().hide();
    return result;
}

QString FoundListBox::selectedPath() const
{
    return found_.pathAt(currentRow());
}

void FoundListBox::select(int i)
{
    if (i < 0 || i >= found_.count())
        return;
    if (currentRow() == i)
        emit selected(i);
    else
        setCurrentRow(i);
}

} // namespace vv
