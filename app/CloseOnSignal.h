#pragma once
// Ends the program on SIGTERM, SIGINT or SIGHUP the way the user would: the main window closes as
// its close button closes it, so config.ini is written (a session that logs out, `kill`, Ctrl+C
// in the terminal that started the reader). The signal only wakes the event loop; the closing
// runs there. A second signal while the first is being handled takes its default action.
//
//   CloseOnSignal closer;   // before Application->Run()
#include <QObject>

class QSocketNotifier;

class CloseOnSignal : public QObject {
public:
    CloseOnSignal();
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void arrived();
    QSocketNotifier* notifier_ = nullptr;
};
