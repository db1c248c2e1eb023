#include "commands/preview_command.h"

#include <string>
#include <utility>

#include "commands/command_messages.h"
#include "commands/single_file.h"
#include "preview/pair_preview.h"
#include "preview/png_codec.h"
#include "preview/preview_drawing.h"

namespace kellvor {

namespace {

CommandResult cancelledResult() {
    return failure(CommandStatus::cancelled,
                   messages::joined(messages::kCancelled, messages::kNothingDrawn));
}

}  // namespace

PreviewResult runPreviewCommand(const PreviewRequest& request, std::ostream& console,
                                const ProgressCallback& progress, const RootArcFit& fit) {
    const GearPairInput& input = request.input;
    const std::int32_t width = request.width;
    const std::int32_t height = request.height;
    PreviewResult out;
    Prologue prologue =
        runPrologue(PrologueRequest{input, request.backlash, request.pair, request.root}, console,
                    messages::kNothingDrawn, fit);
    if (!prologue.gear) {
        out.result = std::move(prologue.result);
        return out;
    }
    const PreparedGear& gear = *prologue.gear;
    if (request.pair) {
        const PairPicture picture{gear.outline(), prologue.gear2->outline(), gear.geometry.a,
                                  gear.geometry.dw1, gear.geometry.dw2};
        std::optional<RgbImage> image = paintPairPicture(picture, width, height, progress);
        if (!image)
            out.result = cancelledResult();
        else
            out.image = std::move(*image);
        return out;
    }
    out.image = makeRgbImage(width, height);
    RasterPainter painter(out.image);
    const bool complete = buildPreviewDrawing(
        gear.profile, gear.arc, input.z1, ClientRect{0, 0, width, height},
        [&](const DrawOp& op) { painter.paint(op); }, progress);
    if (!complete) {
        out.result = cancelledResult();
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
