#include "cli/cli_process.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace kellvor {
namespace {

// The one global of the program: a signal handler can only store into an object of this type
// (volatile std::sig_atomic_t), and it has no other way to reach the run. The core never sees
// it: the command line turns it into a cancel through the progress callback.
volatile std::sig_atomic_t g_signal = 0;

void recordSignal(int sig) {
    if (g_signal == 0)
        g_signal = sig;
}

void setAction(int sig, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted writes and waits go on; the flag is looked at between teeth.
    action.sa_flags = SA_RESTART;
    ::sigaction(sig, &action, nullptr);
}

}  // namespace

void installSignalHandling() {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        setAction(sig, recordSignal);
    for (const int sig : {SIGPIPE, SIGXFSZ})
        setAction(sig, SIG_IGN);
}

int pendingSignal() {
    return g_signal;
}

void keepStandardDescriptorsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        // open() returns the lowest free number, which is fd itself.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd && opened >= 0)
            ::close(opened);
    }
}

}  // namespace kellvor
