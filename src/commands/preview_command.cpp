#include "commands/preview_command.h"

#include <string>
#include <utility>

#include "commands/command_messages.h"
#include "commands/single_file.h"
#include "preview/png_codec.h"
#include "preview/preview_drawing.h"

namespace kellvor {

PreviewResult runPreviewCommand(const GearPairInput& input, std::int32_t width, std::int32_t height,
                                std::ostream& console, const ProgressCallback& progress,
                                const RootArcFit& fit, RootForm root) {
    PreviewResult out;
    Prologue prologue = runPrologue(input, console, messages::kNothingDrawn, fit, root);
    if (!prologue.gear) {
        out.result = std::move(prologue.result);
        return out;
    }
    const PreparedGear& gear = *prologue.gear;
    out.image = makeRgbImage(width, height);
    RasterPainter painter(out.image);
    const bool complete = buildPreviewDrawing(
        gear.profile, gear.arc, input.z1, ClientRect{0, 0, width, height},
        [&](const DrawOp& op) { painter.paint(op); }, progress);
    if (!complete) {
        out.result = failure(CommandStatus::cancelled,
                             messages::joined(messages::kCancelled, messages::kNothingDrawn));
        out.image = RgbImage{};
    }
    return out;
}

CommandResult writePreviewPicture(const RgbImage& image, const std::filesystem::path& path) {
    std::string error;
    const auto bytes = encodePng(image, error);
    if (!bytes)
        return failure(CommandStatus::fileError, messages::pictureNotEncoded(path, error));
    return replaceSingleFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace kellvor
