// The wave-out port under Wine, driven by the playback ring as the program drives it. With the
// ALSA file device (LUMETRA_WINE_AUDIO=1 when Wine is started) everything the device plays lands
// in ROOT/played.raw*, which is compared with the sound. Wine inserts silence when its queue runs
// dry, so all-zero frames are dropped from the capture before comparing; the sounds played here
// have none of their own.
//
// A process sees a device or not for its whole life: its ALSA library reads HOME/.asoundrc once.
// The cases that need the other situation run in a child process of this executable, started
// while the test HOME's .asoundrc says what the child needs (put back afterwards). Only the
// private HOME of the project's Wine set-up is ever touched.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "ports_scratch.h"
#include "render/playback_ring.h"
#include "render/sound_options_rules.h"
#include "render/wave_devices.h"
#include "render/win/wave_out_device.h"

namespace lumetra::win {
namespace {

constexpr wchar_t kChildVariable[] = L"LUMETRA_PORTS_CHILD";

std::optional<std::wstring> environment(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD n = GetEnvironmentVariableW(name, value, 4096);
    if (n == 0 || n >= 4096) return std::nullopt;
    return std::wstring(value, n);
}

// Wine's drive Z: is the Unix root.
std::wstring fromUnixPath(const std::wstring& path) {
    std::wstring windows = L"Z:" + path;
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    return windows;
}

// The private HOME as a Windows path, when it lies inside the Wine set-up's root. Wine names the
// Unix HOME in WINEHOMEDIR ("\\??\\Z:\\...").
std::optional<std::wstring> privateHome() {
    const auto root = environment(L"LUMETRA_WINE_ROOT");
    auto home = environment(L"WINEHOMEDIR");
    if (!root || !home) return std::nullopt;
    if (home->rfind(L"\\??\\", 0) == 0) home->erase(0, 4);
    if (home->rfind(fromUnixPath(*root) + L"\\", 0) != 0) return std::nullopt;
    return home;
}

std::optional<std::string> readFile(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Runs the current case again in a child process of this executable that starts with `alsaRc`
// as its .asoundrc (none: without one). Returns the child's exit code.
DWORD runCaseInChild(const std::wstring& home, const std::optional<std::string>& alsaRc) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::wstring filter = toUtf16(std::string(test->test_suite_name()) + "." + test->name());
    wchar_t exe[MAX_PATH * 4];
    GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=" + filter;
    // HOME/.asoundrc holds the child's text (none: no file) until the child has ended.
    const std::wstring config = home + L"\\.asoundrc";
    const std::optional<std::string> previous = readFile(config);
    const auto put = [&](const std::optional<std::string>& text) {
        if (text)
            ports::writeFile(config, *text);
        else
            DeleteFileW(config.c_str());
    };
    put(alsaRc);
    SetEnvironmentVariableW(kChildVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    DWORD code = DWORD(-1);
    if (started) {
        WaitForSingleObject(process.hProcess, 120000);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    put(previous);
    return code;
}

// The capture device as scripts/wine-env.sh sets it up with LUMETRA_WINE_AUDIO=1.
std::string captureAlsaRc() {
    return "pcm.!default { type file; slave.pcm \"null\"; file \"" +
           toUtf8(*environment(L"LUMETRA_WINE_ROOT")) +
           "/played.raw\"; format \"raw\"; truncate false }\n";
}

// Nothing when the case can run in this process, which must have a device or none as
// `wantDevice` says; otherwise why it is skipped here: it ran in a child process that has the
// capture device (or none), or it cannot run at all.
std::optional<std::string> runElsewhere(bool wantDevice) {
    if ((waveOutGetNumDevs() > 0) == wantDevice) return std::nullopt;
    const auto home = privateHome();
    if (!home || environment(kChildVariable))
        return wantDevice ? "no wave-out device" : "this process has a wave-out device";
    EXPECT_EQ(runCaseInChild(*home, wantDevice ? std::optional(captureAlsaRc()) : std::nullopt), 0u)
        << "the case failed in the child process";
    return wantDevice ? "ran in a child process with the capture device"
                      : "ran in a child process without a device";
}

// What the ring shows and says, recorded; the finished buffers come from the real device.
class RecordingUi : public PlaybackUi, public UserInterface {
  public:
    explicit RecordingUi(WaveOutDevice& device) : device_(device) {}
    void setStatusText(int, const std::string& text) override { statuses.push_back(text); }
    void showWarning(const std::string& text, const std::string& caption) override {
        warnings.push_back(caption + ": " + text);
    }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    void sendPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        positions.push_back({wParam, lParam});
    }
    void postPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        positions.push_back({wParam, lParam});
    }
    void showPlayState(bool playing) override { playStates.push_back(playing); }
    void invalidateCanvas() override { ++invalidations; }
    std::vector<std::size_t> takeFinishedBuffers() override {
        return device_.takeFinishedBuffers();
    }
    void sleep(int milliseconds) override { Sleep(DWORD(milliseconds)); }

    std::vector<std::string> statuses;
    std::vector<std::string> warnings;
    std::vector<std::pair<std::int32_t, std::int64_t>> positions;
    std::vector<bool> playStates;
    int invalidations = 0;

  private:
    WaveOutDevice& device_;
};

// A stereo sound without a single all-zero frame, `frames` frames long.
std::vector<std::int16_t> testSound(std::size_t frames) {
    std::vector<std::int16_t> values(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        values[2 * i] = std::int16_t(int(i % 997) * 31 + 1);
        values[2 * i + 1] = std::int16_t(-int(i % 1009) * 29 - 1);
    }
    return values;
}

// The capture files in the folder, by name.
std::set<std::wstring> captureFiles(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"played.raw*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// A ring of `count` buffers of `size` on the wave-out port, with a sound of `frames` frames. The
// device's completion messages go to a hidden message-only window.
struct Rig {
    Rig(std::int32_t count, std::int32_t size, std::size_t frames)
        : window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr)),
          device(window.get()),
          ui(device),
          ring(device, ui, ui, options),
          sound(testSound(frames)) {
        updateOutputFormat(format, options);
        EXPECT_TRUE(ring.allocateBuffers(count, size));
    }

    PlaybackSoundView view() const {
        return PlaybackSoundView{sound, 2 * 64, format};  // 64 samples per picture column
    }

    // Hands the device's completion messages to the ring, as the main window's procedure does,
    // until the ring has closed the device. `afterBuffer` runs after each returned buffer.
    template <typename Step>
    void pumpUntilClosed(Step afterBuffer) {
        const ULONGLONG giveUp = GetTickCount64() + 60000;  // a hang guard, not a measurement
        while (ring.deviceOpen() && GetTickCount64() < giveUp) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (auto index =
                        device.finishedBuffer(message.message, message.wParam, message.lParam)) {
                    ++returned;
                    ring.onBufferDone(*index, view());
                    afterBuffer();
                } else {
                    DispatchMessageW(&message);
                }
            }
        }
    }
    void pumpUntilClosed() {
        pumpUntilClosed([] {});
    }

    UniqueWindow window;
    SoundOptions options;
    OutputFormat format;
    WaveOutDevice device;
    RecordingUi ui;
    PlaybackRing ring;
    std::vector<std::int16_t> sound;
    int returned = 0;
};

// --- With a device -----------------------------------------------------------------------------

class WaveOutCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto root = environment(L"LUMETRA_WINE_ROOT");
        if (!root) GTEST_SKIP() << "not under the project's Wine set-up (LUMETRA_WINE_ROOT)";
        folder_ = fromUnixPath(*root) + L"\\";  // where the capture device writes
        if (const auto skip = runElsewhere(true)) GTEST_SKIP() << *skip;
        before_ = captureFiles(folder_);
    }
    // What the device played since the case began (the capture files made since), without
    // all-zero frames.
    std::vector<std::int16_t> played() const {
        std::vector<std::int16_t> values;
        for (const std::wstring& name : captureFiles(folder_)) {
            if (before_.count(name)) continue;
            std::ifstream file(std::filesystem::path(folder_ + name), std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
            for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
                std::int16_t frame[2];
                std::memcpy(frame, bytes.data() + at, 4);
                if (frame[0] == 0 && frame[1] == 0) continue;
                values.push_back(frame[0]);
                values.push_back(frame[1]);
            }
        }
        return values;
    }

    std::wstring folder_;
    std::set<std::wstring> before_;
};

TEST_F(WaveOutCapture, OncePlayedSoundArrivesWholeAndClosesTheDevice) {
    Rig rig(4, 1024, 5000);  // 10000 values: nine full buffers and a short one

    ASSERT_TRUE(rig.ring.togglePlayback(kPlayOnce, rig.view()));
    EXPECT_TRUE(rig.ring.deviceOpen());
    EXPECT_EQ(rig.ring.queued(), 4);
    rig.pumpUntilClosed();

    EXPECT_FALSE(rig.ring.deviceOpen());
    EXPECT_FALSE(rig.ring.active());
    EXPECT_FALSE(rig.device.isOpen());
    EXPECT_TRUE(rig.ui.warnings.empty()) << rig.ui.warnings.front();
    EXPECT_EQ(rig.returned, 10);  // every write came back once
    EXPECT_EQ(rig.ui.playStates, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.ui.statuses.front(), kPlayingText);
    EXPECT_EQ(rig.ui.positions.front(), (std::pair<std::int32_t, std::int64_t>{0, 0}));

    const std::vector<std::int16_t> captured = played();
    EXPECT_EQ(captured.size(), rig.sound.size());
    EXPECT_TRUE(captured == rig.sound) << "the captured values differ from the sound";
}

TEST_F(WaveOutCapture, RepeatingSoundWrapsAroundUntilStoppedAndPlaysOut) {
    Rig rig(3, 512, 700);  // 1400 values: the third write wraps to the start

    ASSERT_TRUE(rig.ring.togglePlayback(kPlayRepeating, rig.view()));
    rig.pumpUntilClosed([&] {
        // Stop after a few refills; the queued buffers play out and the last closes the device.
        if (rig.returned == 6 && rig.ring.playing())
            rig.ring.togglePlayback(kPlayRepeating, rig.view());
    });
    EXPECT_FALSE(rig.ring.deviceOpen());
    EXPECT_TRUE(rig.ui.warnings.empty());

    // Writes: 512, 512, 376 (end), 512 (wrapped), ... : what was queued is the sound over and over.
    const std::vector<std::int16_t> captured = played();
    ASSERT_GT(captured.size(), rig.sound.size());
    for (std::size_t i = 0; i < captured.size(); ++i) {
        ASSERT_EQ(captured[i], rig.sound[i % rig.sound.size()]) << "value " << i;
    }
}

TEST_F(WaveOutCapture, StopBeforeRenderResetsTheDeviceAndWaitsForItsBuffers) {
    Rig rig(8, 4096, 50000);

    ASSERT_TRUE(rig.ring.togglePlayback(kPlayRepeating, rig.view()));
    EXPECT_EQ(rig.ring.queued(), 8);  // 32768 values queued before the device starts
    // The stop takes the completion messages from the queue itself.
    EXPECT_TRUE(rig.ring.togglePlayback(kStopForRender, rig.view()));
    EXPECT_FALSE(rig.ring.deviceOpen());
    EXPECT_FALSE(rig.device.isOpen());
    EXPECT_EQ(rig.ring.queued(), 0);
    EXPECT_NE(std::find(rig.ui.statuses.begin(), rig.ui.statuses.end(), kWaitingText),
              rig.ui.statuses.end());
    EXPECT_TRUE(rig.ui.warnings.empty());

    // Whatever had been played before the reset is the start of the sound.
    const std::vector<std::int16_t> captured = played();
    ASSERT_LE(captured.size(), rig.sound.size());
    EXPECT_TRUE(std::equal(captured.begin(), captured.end(), rig.sound.begin()));

    // The ring can play again on a freshly opened device.
    ASSERT_TRUE(rig.ring.togglePlayback(kPlayOnce, rig.view()));
    rig.pumpUntilClosed();
    EXPECT_FALSE(rig.ring.deviceOpen());
}

TEST_F(WaveOutCapture, DevicesAreListedAndABadDeviceNumberFailsWithTheSystemsText) {
    Rig rig(3, 256, 1000);
    SoundOptions options;
    options.device = 5;
    const WaveDeviceList list = enumerateDevices(rig.device, rig.ui, options);
    ASSERT_GE(rig.device.deviceCount(), 1);
    EXPECT_TRUE(list.mapperPresent);
    EXPECT_FALSE(list.mapperName.empty());
    for (const std::string& name : list.names) {
        EXPECT_FALSE(name.empty());
        EXPECT_LT(toUtf16(name).size(), std::size_t(MAXPNAMELEN));
    }
    EXPECT_EQ(options.device, 0);  // a number naming no device falls back to the first
    EXPECT_TRUE(rig.ui.warnings.empty());
    EXPECT_EQ(deviceListTexts(list).size(), list.names.size() + 1);

    // Opening a device that does not exist: the open failure with the system's text.
    rig.options.device = std::int16_t(rig.device.deviceCount());
    EXPECT_FALSE(rig.ring.togglePlayback(kPlayOnce, rig.view()));
    ASSERT_EQ(rig.ui.warnings.size(), 1u);
    EXPECT_EQ(rig.ui.warnings[0],
              "Sound System Failure 02: " + waveOutErrorText(MMSYSERR_BADDEVICEID));
    EXPECT_FALSE(rig.ring.active());
    EXPECT_FALSE(rig.device.isOpen());
}

// --- Without a device --------------------------------------------------------------------------

class WaveOutNoDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const auto skip = runElsewhere(false)) GTEST_SKIP() << *skip;
    }
};

TEST_F(WaveOutNoDevice, MachineWithoutDeviceIsReportedOnceAndPlayingFailsCleanly) {
    Rig rig(8, 4096, 1000);
    EXPECT_EQ(rig.device.deviceCount(), 0);
    const WaveDeviceList list = enumerateDevices(rig.device, rig.ui, rig.options);
    EXPECT_FALSE(list.mapperPresent);
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(rig.options.device, -1);
    EXPECT_EQ(
        rig.ui.warnings,
        (std::vector<std::string>{"Sound System Failure 01: No wave output device available!"}));
    rig.ui.warnings.clear();

    // Playing reports the system's reason and leaves everything closed and ready.
    HWAVEOUT probe = nullptr;
    WAVEFORMATEX wave{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
    const MMRESULT reason = waveOutOpen(&probe, WAVE_MAPPER, &wave, 0, 0, CALLBACK_NULL);
    ASSERT_NE(reason, MMSYSERR_NOERROR);
    EXPECT_FALSE(rig.ring.togglePlayback(kPlayOnce, rig.view()));
    EXPECT_EQ(rig.ui.warnings, (std::vector<std::string>{"Sound System Failure 02: " +
                                                         waveOutErrorText(int(reason))}));
    EXPECT_FALSE(rig.ring.active());
    EXPECT_FALSE(rig.ring.playing());
    EXPECT_FALSE(rig.ring.deviceOpen());
    EXPECT_EQ(rig.ui.playStates, (std::vector<bool>{false}));
    EXPECT_FALSE(waveOutErrorText(int(reason)).empty());

    // The port refuses everything while closed, without touching the system.
    EXPECT_EQ(rig.device.write(0, 4), int(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(rig.device.reset(), int(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(rig.device.close(), int(MMSYSERR_INVALHANDLE));
    EXPECT_FALSE(rig.device.finishedBuffer(MM_WOM_DONE, 0, 0));
}

}  // namespace
}  // namespace lumetra::win
