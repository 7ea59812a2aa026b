#include "eventwait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // its event ends the last wait at the deadline even if nothing else comes
    wake.setSingleShot(true);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        wake.start(int(deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
