#include "cli/edit/batch_edit.h"

#include <memory>
#include <ostream>

#include "base/file_io.h"
#include "cli/edit/edit_operations.h"
#include "cli/edit/edit_options.h"
#include "cli/picture_input.h"
#include "document/image_save.h"
#include "render/oscillators.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

int badUsage(std::ostream& err, const std::string& message) {
    err << "lumetra-edit: " << message << '\n' << editUsageText();
    return kBatchBadUsage;
}

// The picture as the program has it once opened: its render settings prepared (their row
// pitches), the selection set, and the undo snapshot taken before the operation.
int openInput(FileSystem& files, ImageDocument& document, const EditOptions& options,
              std::ostream& out, std::ostream& err) {
    if (!openPicture(files, document, options.input, out, err)) return kBatchFailed;
    prepareOscillators(document.current.settings, SoundOptions{});
    std::string message;
    if (options.selection && !applySelection(document.current, *options.selection, message)) {
        err << "lumetra-edit: " << message << '\n';
        return kBatchBadUsage;
    }
    document.undo = document.current;
    return kBatchOk;
}

}  // namespace

int runBatchEdit(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                 std::ostream& err) {
    std::string message;
    const std::optional<EditOptions> options = parseEditOptions(args, message);
    if (!options) return badUsage(err, message);
    if (options->help) {
        out << editUsageText();
        return kBatchOk;
    }
    const EditOperation* operation = findEditOperation(options->operation);
    if (!operation) return badUsage(err, "Unknown operation " + options->operation);
    const std::optional<EditAction> action =
        operation->read(*operation, options->arguments, message);
    if (!action) return badUsage(err, message);

    auto document = std::make_unique<ImageDocument>();
    if (const int opened = openInput(files, *document, *options, out, err); opened != kBatchOk)
        return opened;
    RandomSeed seed{options->seed};
    EditTarget target{*document, seed, files};
    if (!(*action)(target, message)) {
        err << message << '\n';
        return kBatchFailed;
    }
    if (!saveImageBmp(files, document->current, options->output, /*refreshInfo=*/false,
                      /*attachRenderInfo=*/true)) {
        err << "Could not write " << utf8FromPath(options->output) << '\n';
        return kBatchFailed;
    }
    out << "Wrote " << utf8FromPath(options->output) << '\n';
    return kBatchOk;
}

}  // namespace lumetra
