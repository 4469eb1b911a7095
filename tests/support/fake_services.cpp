#include "tests/support/fake_services.h"

namespace vv::test {

QString FakeServices::selectDirectory(const QString& title, const QString& startPath)
{
    directoryRequests.emplace_back(title, startPath);
    if (directoryAnswers.empty())
        return QString();
    QString answer = directoryAnswers.front();
    directoryAnswers.pop_front();
    return answer;
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
