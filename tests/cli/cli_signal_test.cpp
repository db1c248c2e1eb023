// kellvor-cli's process: signals that cancel, signals that are ignored, closed descriptors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_process.h"
#include "cli/cli_run.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

const test::FolderContents kEarlier = {{"zahnradwerte.txt", "earlier report\n"},
                                       {"zahnrad.txt", "earlier trace\n"},
                                       {"zahnrad.dxf", "earlier drawing\n"}};

// SIGINT, SIGTERM and SIGHUP cancel the run as "Abbrechen" does: 128 + the signal's number, a
// message, the earlier files as they were, nothing left behind. Each runs in a process of its
// own, since the handlers and the flag belong to the process.
TEST(CliSignals, ASignalCancelsTheRun) {
    const struct {
        int sig;
        const char* name;
    } cases[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
    for (const auto& c : cases) {
        test::TempFolder dir;
        test::TempFolder messages;
        test::writeContents(dir.path(), kEarlier);
        const std::string folder = dir.path().string();
        const int status = test::inChildProcess([&] {
            installSignalHandling();
            std::raise(c.sig);
            std::ostringstream out, err;
            const int code = runCli({"--output-dir", folder}, out, err);
            test::writeTextFile(messages.path() / "err", err.str());
            return code;
        });
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), kExitSignalBase + c.sig) << c.name;
        EXPECT_EQ(test::readFileBytes((messages.path() / "err").string()),
                  "kellvor-cli: Signal " + std::string(c.name) +
                      " empfangen. Abgebrochen. Es wurde keine Datei geändert.\n");
        EXPECT_EQ(test::folderContents(dir.path()), kEarlier) << c.name;
    }
}

// A closed pipe and a file-size limit become write errors, not the end of the process; a
// closed standard descriptor is reopened on /dev/null before anything else can take its
// number.
TEST(CliSignals, PipeAndFileSizeSignalsAreIgnoredAndClosedDescriptorsReopened) {
    const int status = test::inChildProcess([] {
        installSignalHandling();
        std::raise(SIGPIPE);
        std::raise(SIGXFSZ);
        int fds[2];
        if (::pipe(fds) != 0)
            return 2;
        ::close(fds[0]);
        if (::write(fds[1], "x", 1) != -1 || errno != EPIPE)
            return 3;
        ::close(STDOUT_FILENO);
        keepStandardDescriptorsOpen();
        const int next = ::open("/dev/null", O_RDONLY);
        return ::fcntl(STDOUT_FILENO, F_GETFD) != -1 && next > STDERR_FILENO ? 0 : 4;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace kellvor
