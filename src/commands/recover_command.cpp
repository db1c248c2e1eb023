#include "commands/recover_command.h"

#include <new>
#include <ostream>

#include "commands/command_messages.h"
#include "commands/lock_wait.h"
#include "output/output_folder.h"
#include "output/output_messages.h"
#include "output/set_recovery.h"

namespace kellvor {

CommandResult runRecoverCommand(const std::filesystem::path& dir, std::ostream& console,
                                const ProgressCallback& progress) {
    try {
        OutputFolder folder(dir);
        switch (folder.lock(lockWaitThrough(progress))) {
            case LockStatus::gaveUp:
                return failure(CommandStatus::cancelled,
                               messages::joined(messages::kCancelled, messages::kNothingWritten));
            case LockStatus::failed:
                return failure(CommandStatus::fileError,
                               output_messages::folderError(dir, output_messages::kCannotOpenFolder,
                                                            folder.error()));
            case LockStatus::locked:
                break;
        }
        const RecoveryReport report = recoverFolder(folder);
        console << describeRecovery(report, dir) << std::endl;
        if (!report.ok())
            return failure(CommandStatus::fileError, report.error);
        return CommandResult{};
    } catch (const std::bad_alloc&) {
        return failure(CommandStatus::fileError, std::string(messages::kOutOfMemory));
    }
}

}  // namespace kellvor
