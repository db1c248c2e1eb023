// The set switch: a crash at every step, failures at every pair of steps, the order of the
// syncs, and the folder lock.
#include "output/replacement_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "output/file_names.h"
#include "output/set_recovery.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

using test::FolderContents;

// An earlier set with an optional file that the new set does not write, and the new set.
const FolderContents kOldSet = {{kReportFileName, "old report\n"},
                                {kTraceFileName, "old trace\n"},
                                {kDrawingFileName, "old drawing\n"},
                                {kGear2DrawingFileName, "old drawing of gear 2\n"}};
const FolderContents kNewSet = {{kReportFileName, "new report\n"},
                                {kTraceFileName, "new trace\n"},
                                {kDrawingFileName, "new drawing\n"},
                                {kJsonFileName, "{\"new\": true}\n"}};

struct Outcome {
    bool committed = false;
    std::string message;
};

// Writes kNewSet into dir through the switch, with hook on every step.
Outcome writeNewSet(const std::filesystem::path& dir, const StepHook& hook) {
    ReplacementFiles files(dir);
    files.setStepHook(hook);
    for (const auto& [name, bytes] : kNewSet) {
        FileSink* sink = files.create(name);
        if (sink == nullptr || !sink->write(bytes.data(), bytes.size()))
            return {false, files.message()};
    }
    const bool committed = files.commit();
    return {committed, files.message()};
}

// What the next run's recovery leaves in dir.
FolderContents recovered(const std::filesystem::path& dir) {
    OutputFolder folder(dir);
    EXPECT_EQ(folder.lock({}), LockStatus::locked);
    const RecoveryReport report = recoverFolder(folder);
    EXPECT_TRUE(report.ok()) << report.error;
    EXPECT_TRUE(report.leftAlone.empty()) << describeRecovery(report, dir);
    return test::folderContents(dir);
}

// The steps of one undisturbed switch, in order.
std::vector<ReplacementStep> switchSteps(const std::filesystem::path& dir) {
    test::writeContents(dir, kOldSet);
    std::vector<ReplacementStep> steps;
    EXPECT_TRUE(writeNewSet(dir, [&](ReplacementStep s, const std::string&) {
                    steps.push_back(s);
                    return std::error_code{};
                }).committed);
    EXPECT_EQ(test::folderContents(dir), kNewSet);
    return steps;
}

// Runs the switch in a child process that stops dead at step crashAt (counting from 0; none
// when it is past the last), with step failAt failing; gives what the next recovery leaves.
FolderContents crashedAndRecovered(const std::filesystem::path& dir, std::size_t crashAt,
                                   std::optional<std::size_t> failAt = std::nullopt) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directory(dir);
    test::writeContents(dir, kOldSet);
    const int status = test::inChildProcess([&] {
        std::size_t calls = 0;
        writeNewSet(dir, [&](ReplacementStep, const std::string&) {
            const std::size_t k = calls++;
            if (k == crashAt)
                ::_exit(0);
            return k == failAt ? std::make_error_code(std::errc::io_error) : std::error_code{};
        });
        return 0;
    });
    EXPECT_TRUE(WIFEXITED(status)) << status;
    return recovered(dir);
}

// A process killed before any step, between any two, or after the last: the next recovery
// finds the earlier set or the new one, nothing in between and no helper file; once a crash
// point gives the new set, every later one does.
TEST(SetSwitch, ACrashAtAnyStepLeavesOneWholeSet) {
    test::TempFolder dir;
    const std::size_t stepCount = switchSteps(dir.path()).size();
    bool newSeen = false;
    for (std::size_t crashAt = 0; crashAt <= stepCount; ++crashAt) {
        const FolderContents after = crashedAndRecovered(dir.path(), crashAt);
        const bool isNew = after == kNewSet;
        EXPECT_TRUE(isNew || after == kOldSet) << "crash at step " << crashAt << ":\n"
                                               << test::describe(after);
        EXPECT_TRUE(isNew || !newSeen) << "crash at step " << crashAt;
        newSeen = newSeen || isNew;
    }
    EXPECT_TRUE(newSeen);
}

// The second rename fails, so the switch is undone. A crash before the undo's back record is
// written is finished forward by the next recovery, one after it backward: either way a whole
// set, and once a crash point gives the earlier set, every later one does.
TEST(SetSwitch, ACrashWhileASwitchIsUndoneLeavesOneWholeSet) {
    test::TempFolder dir;
    const std::vector<ReplacementStep> steps = switchSteps(dir.path());
    const auto firstRename = std::find(steps.begin(), steps.end(), ReplacementStep::rename);
    ASSERT_NE(firstRename, steps.end());
    const auto failAt = static_cast<std::size_t>(firstRename - steps.begin()) + 1;
    bool oldSeen = false;
    for (std::size_t crashAt = failAt + 1; crashAt <= steps.size(); ++crashAt) {
        const FolderContents after = crashedAndRecovered(dir.path(), crashAt, failAt);
        const bool isOld = after == kOldSet;
        EXPECT_TRUE(isOld || after == kNewSet) << "crash at step " << crashAt << ":\n"
                                               << test::describe(after);
        EXPECT_TRUE(isOld || !oldSeen) << "crash at step " << crashAt;
        oldSeen = oldSeen || isOld;
    }
    EXPECT_TRUE(oldSeen);
}

// Any one or two steps failing (an I/O error): the command fails naming the error, and the
// folder holds the earlier set, or the new set where only its cleanup or final sync failed, or,
// where a half-way switch could not be undone, what the next recovery makes whole.
TEST(SetSwitch, FailuresAtAnyTwoStepsLeaveOneWholeSet) {
    test::TempFolder dir;
    const std::size_t stepCount = switchSteps(dir.path()).size();
    const std::error_code io = std::make_error_code(std::errc::io_error);
    for (std::size_t first = 0; first < stepCount; ++first) {
        for (std::size_t second = first; second < stepCount; ++second) {
            std::filesystem::remove_all(dir.path());
            std::filesystem::create_directory(dir.path());
            test::writeContents(dir.path(), kOldSet);
            std::size_t calls = 0;
            const Outcome out = writeNewSet(dir.path(), [&](ReplacementStep, const std::string&) {
                const std::size_t k = calls++;
                return k == first || k == second ? io : std::error_code{};
            });
            const FolderContents now = test::folderContents(dir.path());
            const std::string where =
                "steps " + std::to_string(first) + ", " + std::to_string(second) + ": ";
            if (out.committed) {
                EXPECT_EQ(now, kNewSet) << where << test::describe(now);
                continue;
            }
            EXPECT_NE(out.message.find(io.message()), std::string::npos) << where << out.message;
            const bool leftForRecovery =
                out.message.find("nächsten Schreiben") != std::string::npos;
            const bool inPlace = out.message.starts_with("Die neuen Dateien stehen");
            if (!leftForRecovery) {
                EXPECT_EQ(now, inPlace ? kNewSet : kOldSet) << where << test::describe(now);
            }
            const FolderContents after = recovered(dir.path());
            EXPECT_TRUE(after == kOldSet || after == kNewSet) << where << test::describe(after);
        }
    }
}

// Each file is on the disk before the record names it, the record and the folder before the
// first rename, and the renames (after the backups went) before the record goes.
TEST(SetSwitch, SyncsBeforeAndAfterTheRenames) {
    test::TempFolder dir;
    const std::vector<ReplacementStep> steps = switchSteps(dir.path());
    const auto at = [&](ReplacementStep s) {
        return std::find(steps.begin(), steps.end(), s) - steps.begin();
    };
    const auto lastAt = [&](ReplacementStep s) {
        return steps.rend() - std::find(steps.rbegin(), steps.rend(), s) - 1;
    };
    const std::vector<ReplacementStep> expectedSyncs(kNewSet.size(), ReplacementStep::syncFile);
    EXPECT_TRUE(std::equal(expectedSyncs.begin(), expectedSyncs.end(), steps.begin()));
    ASSERT_LT(at(ReplacementStep::writeRecord), at(ReplacementStep::rename));
    EXPECT_EQ(steps[static_cast<std::size_t>(at(ReplacementStep::writeRecord)) + 1],
              ReplacementStep::syncFolder);
    EXPECT_LT(at(ReplacementStep::syncFolder), at(ReplacementStep::rename));
    EXPECT_EQ(steps[static_cast<std::size_t>(lastAt(ReplacementStep::remove)) + 1],
              ReplacementStep::cleanUp);
    EXPECT_EQ(steps.back(), ReplacementStep::syncFolder);
}

// A second writer waits for the folder's lock, asking on; it gives up when told, and goes on
// as soon as the lock is free.
TEST(SetSwitch, ASecondWriterWaitsForTheLock) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kOldSet);
    std::optional<OutputFolder> holder(dir.path());
    ASSERT_EQ(holder->lock({}), LockStatus::locked);
    int asked = 0;
    {
        ReplacementFiles files(dir.path(), ReplacementScope::fileSet,
                               [&](std::chrono::milliseconds) { return ++asked < 3; });
        EXPECT_EQ(files.create(kReportFileName), nullptr);
        EXPECT_TRUE(files.cancelled());
        EXPECT_EQ(files.message(), "");
    }
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(test::folderContents(dir.path()), kOldSet);
    ReplacementFiles files(dir.path(), ReplacementScope::fileSet, [&](std::chrono::milliseconds) {
        holder.reset();  // the other run ends
        return true;
    });
    EXPECT_NE(files.create(kReportFileName), nullptr) << files.message();
}

// A failure before the point of no return keeps the reason of the step that failed.
TEST(SetSwitch, TheTargetFolderCannotBeOpened) {
    test::TempFolder dir;
    test::writeTextFile(dir.path() / "plain", "x");
    ReplacementFiles files(dir.path() / "plain");
    EXPECT_EQ(files.create(kReportFileName), nullptr);
    EXPECT_EQ(files.message(), "Datei \"" + (dir.path() / "plain" / kReportFileName).string() +
                                   "\" kann nicht angelegt werden: Not a directory");
}

}  // namespace
}  // namespace kellvor
