// What kellvor-cli sets up for its process before it runs: signal handling and the standard
// descriptors.
#pragma once

namespace kellvor {

// SIGINT, SIGTERM and SIGHUP are recorded (see pendingSignal) and turned into a cancel by the
// run; SIGPIPE and SIGXFSZ are ignored, so that a closed standard output or a file-size limit
// become ordinary write errors.
void installSignalHandling();

// The first of SIGINT, SIGTERM and SIGHUP that arrived since installSignalHandling(); 0 while
// none did (and always without it).
int pendingSignal();

// Opens /dev/null on standard input, output or error where one is closed, so that no file or
// folder the run opens can take that number and receive console text.
void keepStandardDescriptorsOpen();

}  // namespace kellvor
