#include "cli/edit/batch_edit.h"

#include <memory>
#include <ostream>

#include "base/file_io.h"
#include "cli/edit/edit_operations.h"
#include "cli/edit/edit_options.h"
#include "cli/picture_input.h"
#include "cli/tool_messages.h"
#include "document/image_save.h"
#include "render/oscillators.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

constexpr const char* kTool = "lumetra-edit";

int badUsage(std::ostream& tagged, std::ostream& err, const std::string& message) {
    tagged << message << '\n';
    err << editUsageText();
    return kBatchBadUsage;
}

// The output is a BMP file by its name too: another program opening it goes by the name.
bool namesBmpFile(const std::filesystem::path& path) {
    std::string extension = utf8FromPath(path.extension());
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == ".bmp";
}

// The picture as the program has it once opened: its render settings prepared (their row
// pitches), the selection set, and the undo snapshot taken before the operation.
int openInput(FileSystem& files, ImageDocument& document, const EditOptions& options,
              std::ostream& out, std::ostream& err) {
    if (!openPicture(files, document, options.input, out, err)) return kBatchFailed;
    prepareOscillators(document.current.settings, SoundOptions{});
    std::string message;
    if (options.selection && !applySelection(document.current, *options.selection, message)) {
        err << message << '\n';
        return kBatchBadUsage;
    }
    document.undo = document.current;
    return kBatchOk;
}

int edit(std::span<const std::string> args, FileSystem& files, std::ostream& out,
         std::ostream& err) {
    TaggedLines tagged(err, std::string(kTool) + ": ");
    std::string message;
    const std::optional<EditOptions> options = parseEditOptions(args, message);
    if (!options) return badUsage(tagged, err, message);
    if (options->help) {
        out << editUsageText();
        return kBatchOk;
    }
    if (!namesBmpFile(options->output))
        return badUsage(tagged, err,
                        "OUTPUT must be a BMP file whose name ends in \".bmp\", not " +
                            utf8FromPath(options->output));
    const EditOperation* operation = findEditOperation(options->operation);
    if (!operation) return badUsage(tagged, err, "Unknown operation " + options->operation);
    const std::optional<EditAction> action =
        operation->read(*operation, options->arguments, message);
    if (!action) return badUsage(tagged, err, message);

    auto document = std::make_unique<ImageDocument>();
    if (const int opened = openInput(files, *document, *options, out, tagged); opened != kBatchOk)
        return opened;
    RandomSeed seed{options->seed};
    EditTarget target{*document, seed, files};
    if (!(*action)(target, message)) {
        tagged << message << '\n';
        return kBatchFailed;
    }
    // Written beside the output and moved over it only when complete: OUTPUT may be INPUT.
    if (!saveImageBmp(files, document->current, options->output, /*refreshInfo=*/false,
                      /*attachRenderInfo=*/true)) {
        tagged << "Could not write " << utf8FromPath(options->output) << ": " << systemReason(files)
               << '\n';
        return kBatchFailed;
    }
    out << "Wrote " << utf8FromPath(options->output) << '\n';
    return kBatchOk;
}

}  // namespace

int runBatchEdit(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                 std::ostream& err) {
    return runGuarded(kTool, err, [&] { return edit(args, files, out, err); });
}

}  // namespace lumetra
