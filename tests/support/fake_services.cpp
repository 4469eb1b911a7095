#include "tests/support/fake_services.h"

#include <QCoreApplication>

namespace vv::test {

void FakeServices::messageBox(const QString& text, Icon icon, const QString& title)
{
    boxes.push_back({text, icon, title});
}

QString FakeServices::selectDirectory(const QString& title, const QString& startPath)
{
    directoryRequests.emplace_back(title, startPath);
    if (directoryAnswers.empty())
        return QString();
    QString answer = directoryAnswers.front();
    directoryAnswers.pop_front();
    return answer;
}

void FakeServices::processEvents()
{
    QCoreApplication::processEvents();
}

void FakeServices::runEventsFor(int milliseconds)
{
    eventTimeMs += milliseconds;
    QCoreApplication::processEvents();
}

void FakeServices::setWaitCursor(bool on)
{
    if (on)
        ++waitCursorOn;
    waitCursorShown = on;
}

float FakeServices::rnd()
{
    ++randomDraws;
    if (randoms.empty())
        return 0.5f;
    const float r = randoms.front();
    randoms.pop_front();
    return r;
}

} // namespace vv::test
