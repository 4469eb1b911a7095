#include "app/program_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VV_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VV_LEAK_CHECK 1
#endif
#ifdef VV_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

#include "app/app.h"
#include "app/atomic_file.h"
#include "app/look.h"
#include "app/main_window.h"
#include "library/directory_chooser.h"

namespace vv {

void ProgramServices::messageBox(const QString& text, Icon icon, const QString& title)
{
    QMessageBox box(app_ && app_->MDI().isVisible() ? &app_->MDI() : nullptr);
    box.setWindowTitle(title.isEmpty() ? AppTitle : title);
    box.setText(withLineFeeds(text));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString ProgramServices::selectDirectory(const QString& title, const QString& startPath)
{
    if (!app_)
        return QString();
    DirectoryChooser& chooser = app_->VERZ();
    chooser.INITIALIZE(title, startPath);
    return chooser.result();
}

void ProgramServices::endProgram()
{
    // At once: no further window events run, nothing else is saved (every
    // change was written when it was made); a sheet being written in the
    // background is finished first.
    stopAtomicWrites();
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef VV_LEAK_CHECK
    // _exit skips the sanitizer's check at exit; a build with it checks here.
    __lsan_do_leak_check();
#endif
    ::_exit(0);
}

void ProgramServices::processEvents()
{
    QCoreApplication::processEvents();
}

void ProgramServices::runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ProgramServices::setWaitCursor(bool on)
{
    if (on == waitCursor_)
        return;
    waitCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

double ProgramServices::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void ProgramServices::randomize()
{
    random_.seed(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
}

float ProgramServices::rnd()
{
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    float r = uniform(random_);
    return r < 1.0f ? r : 0.0f;
}

} // namespace vv
