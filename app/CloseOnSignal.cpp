#include "app/CloseOnSignal.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int wakeFds[2] = {-1, -1};

void onSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &byte, 1);
}

void setHandlers(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

} // namespace

CloseOnSignal::CloseOnSignal() {
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { arrived(); });
    setHandlers(&onSignal);
}

CloseOnSignal::~CloseOnSignal() {
    if (!notifier_)
        return;
    setHandlers(SIG_DFL);
    delete notifier_;
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void CloseOnSignal::arrived() {
    unsigned char byte = 0;
    while (::read(wakeFds[0], &byte, 1) == 1) {
    }
    // Asked once: if the closing hangs, the next signal ends the program at once.
    setHandlers(SIG_DFL);
    if (Application && Application->MainForm())
        Application->MainForm()->Close();
    else if (Application)
        Application->Terminate();
}
