#include "commands/single_file.h"

#include "commands/command_messages.h"
#include "commands/lock_wait.h"
#include "output/output_messages.h"
#include "output/replacement_files.h"

namespace kellvor {

CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes,
                                const ProgressCallback& progress) {
    return replaceSingleFileStreamed(
        path,
        [bytes](ByteSink& sink) {
            return sink.write(bytes.data(), bytes.size()) ? CommandResult{}
                                                          : failure(CommandStatus::fileError, "");
        },
        progress);
}

CommandResult replaceSingleFileStreamed(const std::filesystem::path& path,
                                        const std::function<CommandResult(ByteSink&)>& write,
                                        const ProgressCallback& progress) {
    // "dir/", "." and ".." name a folder, never a file that could be replaced.
    const std::filesystem::path fileName = path.filename();
    if (fileName.empty() || fileName == "." || fileName == "..")
        return failure(CommandStatus::fileError,
                       output_messages::fileError(path, output_messages::kCannotReplace,
                                                  std::make_error_code(std::errc::is_a_directory)));
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    const std::string name = fileName.string();
    ReplacementFiles files(dir, ReplacementScope::singleFile, lockWaitThrough(progress));
    const auto cancelled = [] {
        return failure(CommandStatus::cancelled,
                       messages::joined(messages::kCancelled, messages::kNothingWritten));
    };
    FileSink* sink = files.create(name);
    if (sink == nullptr)
        return files.cancelled() ? cancelled() : failure(CommandStatus::fileError, files.message());
    CommandResult written = write(*sink);
    if (written.status == CommandStatus::fileError && written.message.empty()) {
        files.fail(name, sink->error(), output_messages::kCannotWrite);
        return failure(CommandStatus::fileError, files.message());
    }
    if (!written.ok())
        return written;
    if (!files.commit([&] { return stillWanted(progress); }))
        return files.cancelled() ? cancelled() : failure(CommandStatus::fileError, files.message());
    return written;
}

}  // namespace kellvor
