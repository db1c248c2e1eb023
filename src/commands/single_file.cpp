#include "commands/single_file.h"

#include "output/output_messages.h"
#include "output/replacement_files.h"

namespace kellvor {

CommandResult replaceSingleFile(const std::filesystem::path& path, std::string_view bytes) {
    return replaceSingleFileStreamed(path, [bytes](ByteSink& sink) {
        return sink.write(bytes.data(), bytes.size()) ? CommandResult{}
                                                      : failure(CommandStatus::fileError, "");
    });
}

CommandResult replaceSingleFileStreamed(const std::filesystem::path& path,
                                        const std::function<CommandResult(ByteSink&)>& write) {
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    const std::string name = path.filename().string();
    ReplacementFiles files(dir);
    FileSink* sink = files.create(name);
    if (sink == nullptr)
        return failure(CommandStatus::fileError, files.message());
    CommandResult written = write(*sink);
    if (written.status == CommandStatus::fileError && written.message.empty()) {
        files.fail(name, sink->error(), output_messages::kCannotWrite);
        return failure(CommandStatus::fileError, files.message());
    }
    if (!written.ok())
        return written;
    if (!files.commit())
        return failure(CommandStatus::fileError, files.message());
    return written;
}

}  // namespace kellvor
