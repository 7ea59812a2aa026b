#include "eventwait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer wake; // ends the last wait at the deadline even if no event comes
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, &loop, [] {});
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        wake.start(int(deadline.remainingTime()));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
