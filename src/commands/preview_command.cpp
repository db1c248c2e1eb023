#include "commands/preview_command.h"

#include <new>
#include <string>
#include <utility>

#include "commands/command_messages.h"
#include "commands/single_file.h"
#include "preview/memory_budget.h"
#include "preview/pair_preview.h"
#include "preview/png_codec.h"
#include "preview/preview_drawing.h"

namespace kellvor {
namespace {

constexpr std::uint64_t kBytesPerMB = 1000000;

PreviewResult drawPreview(const PreviewRequest& request, std::ostream& console,
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
    // A large picture is allocated at once and every page touched: asking first turns a
    // picture that does not fit into a message instead of a failed allocation or, with
    // overcommitted memory, a process the kernel kills.
    const std::uint64_t needed = previewMemoryBytes(width, height);
    if (const auto available = allocatableBytes(); available && needed > *available) {
        out.result =
            failure(CommandStatus::fileError,
                    messages::joined(messages::pictureNeedsMemory(
                                         width, height, (needed + kBytesPerMB - 1) / kBytesPerMB,
                                         *available / kBytesPerMB),
                                     messages::kNothingDrawn));
        return out;
    }
    const PreparedGear& gear = *prologue.gear;
    if (request.pair) {
        const PairPicture picture{gear.outline(), prologue.gear2->outline(), gear.geometry.a,
                                  gear.geometry.dw1, gear.geometry.dw2};
        std::optional<RgbImage> image = paintPairPicture(picture, width, height, progress);
        if (!image)
            out.result = messages::cancelledResult(messages::kNothingDrawn);
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
        out.result = messages::cancelledResult(messages::kNothingDrawn);
        out.image = RgbImage{};
    }
    return out;
}

}  // namespace

PreviewResult runPreviewCommand(const PreviewRequest& request, std::ostream& console,
                                const ProgressCallback& progress, const RootArcFit& fit) {
    try {
        return drawPreview(request, console, progress, fit);
    } catch (const std::bad_alloc&) {
        PreviewResult out;
        out.result = failure(CommandStatus::fileError,
                             messages::joined(messages::kOutOfMemory, messages::kNothingDrawn));
        return out;
    }
}

CommandResult writePreviewPicture(const RgbImage& image, const std::filesystem::path& path,
                                  const ProgressCallback& progress) {
    try {
        std::string error;
        const auto bytes = encodePng(image, error);
        if (!bytes)
            return failure(CommandStatus::fileError, messages::pictureNotEncoded(path, error));
        return replaceSingleFile(
            path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
            progress);
    } catch (const std::bad_alloc&) {
        return failure(CommandStatus::fileError,
                       messages::joined(messages::kOutOfMemory, messages::kNothingWritten));
    }
}

}  // namespace kellvor
