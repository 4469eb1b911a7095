#pragma once
// Services for tests: message boxes are recorded instead of shown, the
// directory chooser answers from a queue, ending the program is recorded,
// the random generator plays back a given sequence.

#include <deque>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "app/services.h"

namespace vv::test {

class FakeServices : public Services {
public:
    struct Box {
        QString text;
        Icon icon;
        QString title;
    };

    void messageBox(const QString& text, Icon icon, const QString& title) override
    {
        boxes.push_back({text, icon, title});
    }
    QString selectDirectory(const QString& title, const QString& startPath) override;
    void endProgram() override { ++endRequests; }
    void processEvents() override { QCoreApplication::processEvents(); }
    // Runs events once and counts the time asked for (no real wait).
    void runEventsFor(int milliseconds) override
    {
        eventTimeMs += milliseconds;
        QCoreApplication::processEvents();
    }
    void setWaitCursor(bool on) override;
    double secondsSinceMidnight() override { return 0; }
    void randomize() override { ++randomizeCalls; }
    float rnd() override;

    // Recorded calls and scripted answers.
    std::vector<Box> boxes;
    std::deque<QString> directoryAnswers;  // "" = the user cancelled
    std::vector<std::pair<QString, QString>> directoryRequests;  // title, start path
    int endRequests = 0;
    int randomizeCalls = 0;
    int waitCursorOn = 0;       // how many times the wait cursor was switched on
    bool waitCursorShown = false;
    long long eventTimeMs = 0;  // total time asked for by runEventsFor
    std::deque<float> randoms;  // rnd() takes from the front; 0.5 when empty
    int randomDraws = 0;
};

} // namespace vv::test
