#include "shell/win/settings.h"

#include "shell/win/app_state.h"
#include "shell/win/program_folders.h"
#include "base/win/registry_value_store.h"

namespace lumetra::win {
namespace {

struct PatchLibraries {
    BrushPatchBlock brush;
    EchordPatchTable echord{};
};

PatchLibraries& patchLibraries() {
    static PatchLibraries libraries;
    return libraries;
}

std::string& settingsError() {
    static std::string message;
    return message;
}

// The program state as the settings store sees it.
PersistedSettings gather(const AppState& s) {
    PersistedSettings p;
    p.renderDefaults = s.defaultSettings;
    p.sound = s.sound;
    p.shell = s.options;
    p.layout = s.layout;
    p.folders = toCoreFolders(s.folders);
    p.brushPatches = patchLibraries().brush;
    p.echordPatches = patchLibraries().echord;
    return p;
}

void spread(const PersistedSettings& p, AppState& s) {
    s.defaultSettings = p.renderDefaults;
    s.sound = p.sound;
    s.options = p.shell;
    s.dragDecoration = p.shell.dragDecoration;
    s.layout = p.layout;
    // Only the four stored folders come from the settings; the others are settled at start.
    s.folders.imageFolder = pathFromUtf8(p.folders.imageFolder);
    s.folders.filterFolder = pathFromUtf8(p.folders.filterFolder);
    s.folders.soundfileFolder = pathFromUtf8(p.folders.soundfileFolder);
    s.folders.analysesFolder = pathFromUtf8(p.folders.analysesFolder);
    patchLibraries().brush = p.brushPatches;
    patchLibraries().echord = p.echordPatches;
}

}  // namespace

bool loadSettings(SettingsValueStore& store, ScreenSize screen) {
    AppState& s = appState();
    PersistedSettings settings = gather(s);
    SettingsStore settingsStore(store);
    const bool complete = settingsStore.load(settings, screen);
    spread(settings, s);
    return complete;
}

bool saveSettings(SettingsValueStore& store, const MainWindowPlacement& mainWindow) {
    PersistedSettings settings = gather(appState());
    SettingsStore settingsStore(store);
    const bool complete = settingsStore.save(settings, mainWindow);
    settingsError() = settingsStore.errorMessage();
    // The save records the main window's place; the layout keeps it too.
    appState().layout = settings.layout;
    return complete;
}

void loadSettings() {
    RegistryValueStore store;
    loadSettings(store, screenSize());
}

void saveSettings() {
    RegistryValueStore store;
    saveSettings(store, mainWindowPlacement(appState().mainWindow));
}

MainWindowPlacement mainWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!window || !GetWindowPlacement(window, &placement)) {
        const WindowLayout& l = appState().layout;
        return MainWindowPlacement{
            l.mainX, l.mainY, l.mainX + l.mainWidth, l.mainY + l.mainHeight, l.mainShow, false};
    }
    const RECT& r = placement.rcNormalPosition;
    return MainWindowPlacement{r.left,
                               r.top,
                               r.right,
                               r.bottom,
                               std::int32_t(placement.showCmd),
                               IsIconic(window) != FALSE || placement.showCmd == SW_SHOWMINIMIZED};
}

ScreenSize screenSize() {
    return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

BrushPatchBlock& brushPatches() {
    return patchLibraries().brush;
}

EchordPatchTable& echordPatches() {
    return patchLibraries().echord;
}

const std::string& lastSettingsError() {
    return settingsError();
}

}  // namespace lumetra::win
