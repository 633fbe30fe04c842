#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns the system's requests to end (SIGTERM, SIGINT, SIGHUP) into a Qt
// signal on the event thread, so they run the same shutdown as the close box.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

// Ends the process at once, running no further handler.
[[noreturn]] void endProcess(int code);

} // namespace platform
