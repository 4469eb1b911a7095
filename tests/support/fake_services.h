#pragma once
// Services for tests: message boxes are recorded instead of shown, the
// directory chooser answers from a queue, ending the program is recorded,
// the random generator plays back a given sequence.

#include <deque>
#include <vector>

#include <QCoreApplication>

#include "app/services.h"

namespace vv::test {

class FakeServices : public Services {
public:
    struct Box {
        QString text;
        Icon icon;
    };

    void messageBox(const QString& text, Icon icon, const QString&) override { boxes.push_back({text, icon}); }
    QString selectDirectory(const QString&, const QString&) override { return takeFront(directoryAnswers, {}); }
    void endProgram() override { ++endRequests; }
    void processEvents() override { QCoreApplication::processEvents(); }
    // Runs events once and counts the time asked for (no real wait).
    void runEventsFor(int milliseconds) override
    {
        eventTimeMs += milliseconds;
        QCoreApplication::processEvents();
    }
    void setWaitCursor(bool on) override
    {
        waitCursorOn += on ? 1 : 0;
        waitCursorShown = on;
    }
    double secondsSinceMidnight() override { return 0; }
    void randomize() override { ++randomizeCalls; }
    float rnd() override
    {
        ++randomDraws;
        return takeFront(randoms, 0.5f);
    }

    // Recorded calls and scripted answers.
    std::vector<Box> boxes;
    std::deque<QString> directoryAnswers;  // "" = the user cancelled; so is an empty queue
    int endRequests = 0;
    int randomizeCalls = 0;
    int waitCursorOn = 0;       // how many times the wait cursor was switched on
    bool waitCursorShown = false;
    long long eventTimeMs = 0;  // total time asked for by runEventsFor
    std::deque<float> randoms;  // rnd() takes from the front; 0.5 when empty
    int randomDraws = 0;

private:
    template <class T>
    static T takeFront(std::deque<T>& queue, T whenEmpty)
    {
        if (queue.empty())
            return whenEmpty;
        T front = queue.front();
        queue.pop_front();
        return front;
    }
};

} // namespace vv::test
