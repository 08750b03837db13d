#include "shell/settings_store.h"

#include <algorithm>
#include <span>

#include "base/file_io.h"
#include "base/registry_error.h"
#include "base/text_limits.h"
#include "shell/settings_schema.h"

namespace lumetra {

// One visit of every value in one direction. Each accessor either reads the stored value into
// the field (taking the default when it cannot) or writes the field.
class SettingsStore::Pass {
  public:
    Pass(SettingsValueStore& store, Direction direction, std::string& errorMessage)
        : store_(store), direction_(direction), errorMessage_(errorMessage) {}

    bool loading() const { return direction_ == Direction::Load; }

    bool openKey(std::string_view key) {
        key_ = std::string(key);
        return store_.openKey(key_);
    }

    void dword(int id, std::uint32_t& field, std::uint32_t fallback) {
        if (!loading()) return write(dwordValue(name(id), field));
        const auto stored = store_.readValue(key_, name(id));
        const auto number = stored ? dwordFrom(*stored) : std::nullopt;
        field = number ? *number : fallback;
    }

    void integer(int id, std::int32_t& field, std::int32_t fallback) {
        auto word = static_cast<std::uint32_t>(field);
        dword(id, word, static_cast<std::uint32_t>(fallback));
        field = static_cast<std::int32_t>(word);
    }

    // A stored block of another type or size is not this block: the field keeps what it holds.
    // Loading tells whether the block was read.
    bool binary(int id, std::span<std::uint8_t> field) {
        if (!loading()) {
            write(binaryValue(name(id), field));
            return false;
        }
        const auto stored = store_.readValue(key_, name(id));
        if (!stored || stored->type != StoredType::Binary || stored->data.size() != field.size())
            return false;
        std::copy(stored->data.begin(), stored->data.end(), field.begin());
        return true;
    }

    void path(int id, std::filesystem::path& field, std::size_t maxCharacters) {
        if (!loading()) return write(textValue(name(id), utf8FromPath(field)));
        const auto stored = store_.readValue(key_, name(id));
        const auto value = stored ? textFrom(*stored) : std::nullopt;
        // A path too long for the folder fields is dropped rather than cut into another path.
        field = pathFromUtf8(value && wideLength(*value) <= maxCharacters ? *value : std::string());
    }

  private:
    static std::string name(int id) { return std::string(settingName(id)); }

    void write(const StoredValue& value) {
        if (const int code = store_.writeValue(key_, value))
            errorMessage_ = truncateText(systemErrorText(code), kMaxErrorMessageLength);
    }

    SettingsValueStore& store_;
    Direction direction_;
    std::string& errorMessage_;
    std::string key_;
};

namespace {

// Defaults may add stored numbers; those may be anything, so the sum wraps instead of
// overflowing (the placement checks reject the result anyway).
std::int32_t addWrapping(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

template <typename Pass>
void visitThousandths(Pass& p, int id, double& field, std::uint32_t fallback) {
    std::uint32_t word = toThousandths(field);
    p.dword(id, word, fallback);
    if (p.loading()) field = fromThousandths(word);
}

template <typename Pass>
void visitBaseValues(Pass& p, PersistedSettings& s) {
    RenderSettings& render = s.renderDefaults;
    p.integer(setting::kImageWidth, render.width, kDefaultImageWidth);
    p.integer(setting::kImageHeight, render.height, kDefaultImageHeight);
    if (p.loading() && render.width < 10) render.width = kDefaultImageWidth;
    if (p.loading() && render.height < 10) render.height = kDefaultImageHeight;

    std::uint32_t buffers = packOutputBuffers(s.sound);
    p.dword(setting::kOutputBuffers, buffers, kDefaultOutputBuffers);
    if (p.loading()) unpackOutputBuffers(buffers, s.sound);

    p.integer(setting::kSampleRate, s.sound.sampleRate, kDefaultSampleRate);
    if (p.loading() && s.sound.sampleRate <= 0) s.sound.sampleRate = kDefaultSampleRate;
    std::int32_t device = s.sound.device;
    p.integer(setting::kOutputDevice, device, 0);
    s.sound.device = static_cast<std::int16_t>(device);

    std::uint32_t options = packRenderOptions(gatherRenderOptions(s.shell, render, s.sound));
    p.dword(setting::kRenderOptions, options, kDefaultRenderOptions);
    if (p.loading()) spreadRenderOptions(unpackRenderOptions(options), s.shell, render, s.sound);

    std::uint32_t program = packProgramOptions(s.shell);
    p.dword(setting::kProgramOptions, program, kDefaultProgramOptions);
    if (p.loading()) unpackProgramOptions(program, s.shell);

    visitThousandths(p, setting::kOutputTime, render.outputTime, 5000);
    visitThousandths(p, setting::kPitchLow, render.lowFrequency, 50000);
    visitThousandths(p, setting::kPitchHigh, render.highFrequency, 8000000);
    visitThousandths(p, setting::kOutputAmp, render.ampFactor, 10000);

    if (p.loading()) {
        // Read into scratch copies: only sound records replace the built-in ones.
        std::array<std::uint8_t, kBrushPatchBlockBytes> brushScratch{};
        if (p.binary(setting::kBrushPatches, brushScratch))
            takeStoredBrushPatches(s.brushPatches, brushScratch);
        std::array<std::uint8_t, kEchordPatchBlockBytes> scratch{};
        if (p.binary(setting::kEchordPatches, scratch))
            takeStoredEchordPatches(s.echordPatches, scratch);
    } else {
        p.binary(setting::kBrushPatches, s.brushPatches.bytes);
        auto echord = encodeEchordPatches(s.echordPatches);
        p.binary(setting::kEchordPatches, echord);
    }
}

template <typename Pass>
void visitWindowValues(Pass& p, WindowLayout& l) {
    p.integer(setting::kMainX, l.mainX, 8);
    p.integer(setting::kMainY, l.mainY, 8);
    p.integer(setting::kMainWidth, l.mainWidth, 880);
    p.integer(setting::kMainHeight, l.mainHeight, 560);
    p.integer(setting::kMainShow, l.mainShow, kShowShown);
    p.integer(setting::kBrushX, l.brushX, l.mainX);
    p.integer(setting::kBrushY, l.brushY, addWrapping(l.mainY, l.mainHeight));
    p.integer(setting::kBrushShow, l.brushShow, kShowShown);
    p.integer(setting::kEchordX, l.echordX, addWrapping(l.brushX, 276));
    p.integer(setting::kEchordY, l.echordY, addWrapping(l.mainY, l.mainHeight));
    p.integer(setting::kEchordShow, l.echordShow, kShowShown);
    p.integer(setting::kRenderX, l.renderX, addWrapping(l.mainX, 250));
    p.integer(setting::kRenderY, l.renderY, addWrapping(l.mainY, 46));
    p.integer(setting::kRenderShow, l.renderShow, kShowHidden);
    p.integer(setting::kBrowserX, l.browserX, addWrapping(addWrapping(l.mainX, l.mainWidth), 8));
    p.integer(setting::kBrowserY, l.browserY, l.mainY);
    p.integer(setting::kBrowserWidth, l.browserWidth, 370);
    p.integer(setting::kBrowserBottom, l.browserBottom, addWrapping(l.browserY, 600));
    p.integer(setting::kBrowserShow, l.browserShow, kShowShown);
    p.integer(setting::kCanvasZoom, l.canvasZoom, 0);
    p.integer(setting::kCanvasRulers, l.canvasRulers, 1);
}

template <typename Pass>
void visitFolders(Pass& p, ProgramFolders& f) {
    p.path(setting::kImageFolder, f.imageFolder, kMaxFolderLength);
    p.path(setting::kFilterFolder, f.filterFolder, kMaxFolderLength);
    p.path(setting::kSoundfileFolder, f.soundfileFolder, kMaxFolderLength);
    p.path(setting::kAnalysesFolder, f.analysesFolder, kMaxFolderLength);
}

template <typename Pass>
bool visitAll(Pass& p, PersistedSettings& s, ScreenSize screen,
              const MainWindowPlacement* mainWindow) {
    if (!p.openKey("")) return false;
    visitBaseValues(p, s);
    if (!p.openKey(kWindowsKey)) return false;
    if (mainWindow) recordMainPlacement(s.layout, *mainWindow);
    visitWindowValues(p, s.layout);
    // Only a load can bring a place from another display; what is saved was on this one.
    if (p.loading()) validateLayout(s.layout, screen);
    if (!p.openKey(kDirectoriesKey)) return false;
    visitFolders(p, s.folders);
    return true;
}

}  // namespace

bool SettingsStore::load(PersistedSettings& settings, ScreenSize screen) {
    Pass pass(store_, Direction::Load, errorMessage_);
    return visitAll(pass, settings, screen, nullptr);
}

bool SettingsStore::save(PersistedSettings& settings, const MainWindowPlacement& mainWindow) {
    errorMessage_.clear();
    Pass pass(store_, Direction::Save, errorMessage_);
    return visitAll(pass, settings, ScreenSize{}, &mainWindow);
}

std::string settingsNotSavedText(const std::string& errorMessage) {
    return "The settings may not have been saved.\n" + errorMessage;
}

}  // namespace lumetra
