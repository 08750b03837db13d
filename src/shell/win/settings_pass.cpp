#include "shell/win/settings_pass.h"

#include "base/win/registry_value_store.h"
#include "shell/win/program.h"

namespace lumetra::win {

bool loadSettings(PersistedSettings& settings, SettingsValueStore& store, ScreenSize screen) {
    SettingsStore settingsStore(store);
    return settingsStore.load(settings, screen);
}

bool saveSettings(PersistedSettings& settings, SettingsValueStore& store,
                  const MainWindowPlacement& mainWindow, std::string& error) {
    SettingsStore settingsStore(store);
    const bool complete = settingsStore.save(settings, mainWindow);
    error = settingsStore.errorMessage();
    return complete;
}

void loadSettings(Program& program) {
    RegistryValueStore store;
    loadSettings(program.settings, store, screenSize());
}

std::string saveSettings(Program& program) {
    RegistryValueStore store;
    std::string error;
    saveSettings(program.settings, store,
                 mainWindowPlacement(program.mainWindow, program.settings.layout), error);
    return error;
}

MainWindowPlacement mainWindowPlacement(HWND window, const WindowLayout& l) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!window || !GetWindowPlacement(window, &placement)) {
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

}  // namespace lumetra::win
