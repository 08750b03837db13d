#include "render/sound_options_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace lumetra {
namespace {

class SilentUi : public PlaybackUi {
  public:
    std::vector<std::pair<std::string, std::string>> warnings;
    void setStatus(const std::string&) override {}
    void showWarning(const std::string& text, const std::string& caption) override {
        warnings.emplace_back(text, caption);
    }
    void sendPlayPosition(std::int32_t, std::int64_t) override {}
    void postPlayPosition(std::int32_t, std::int64_t) override {}
    void showPlayState(bool) override {}
    void invalidateCanvas() override {}
    std::vector<std::size_t> takeFinishedBuffers() override { return {}; }
    void sleep(int) override {}
};

class FakeDevices : public WaveDeviceQuery {
  public:
    std::map<std::int32_t, std::string> names;  // -1 = the mapper
    std::map<std::int32_t, int> errors;
    std::int32_t count = 0;
    std::int32_t deviceCount() override { return count; }
    int capabilities(std::int32_t device, std::string& name) override {
        if (errors.count(device)) return errors[device];
        if (!names.count(device)) return 2;
        name = names[device];
        return 0;
    }
    std::string errorText(int code) override { return "bad device " + std::to_string(code); }
};

TEST(WaveDevices, ListsTheMapperAndEveryDevice) {
    FakeDevices query;
    query.count = 2;
    query.names = {{-1, "Sound Mapper"}, {0, "Out: default"}, {1, "Out: hdmi"}};
    SilentUi ui;
    SoundOptions options;
    options.device = 1;
    const WaveDeviceList list = enumerateDevices(query, ui, options);
    EXPECT_TRUE(list.mapperPresent);
    EXPECT_EQ(deviceListTexts(list),
              (std::vector<std::string>{"Sound Mapper", "Out: default", "Out: hdmi"}));
    EXPECT_EQ(options.device, 1);
    EXPECT_TRUE(ui.warnings.empty());
}

TEST(WaveDevices, NoDeviceAtAll) {
    FakeDevices query;
    SilentUi ui;
    SoundOptions options;
    const WaveDeviceList list = enumerateDevices(query, ui, options);
    EXPECT_FALSE(list.mapperPresent);
    EXPECT_TRUE(deviceListTexts(list).empty());
    EXPECT_EQ(options.device, -1);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0], (std::pair<std::string, std::string>{
                                  "No wave output device available!", "Sound System Failure 01"}));
}

TEST(WaveDevices, StoredDeviceNumbersOutsideTheListBecomeZero) {
    for (std::int16_t stored : {-2, 2, 3, 32767, -32768}) {
        FakeDevices query;
        query.count = 2;
        query.names = {{0, "a"}, {1, "b"}};  // no mapper, but devices: nothing is reported
        SilentUi ui;
        SoundOptions options;
        options.device = stored;
        const WaveDeviceList list = enumerateDevices(query, ui, options);
        EXPECT_FALSE(list.mapperPresent);
        EXPECT_EQ(options.device, 0) << stored;
        EXPECT_TRUE(ui.warnings.empty());
    }
    FakeDevices query;
    query.count = 1;
    query.names = {{-1, "m"}, {0, "a"}};
    SilentUi ui;
    SoundOptions options;
    options.device = -1;
    enumerateDevices(query, ui, options);
    EXPECT_EQ(options.device, -1);  // the mapper is a valid choice
}

TEST(WaveDevices, ADeviceThatDoesNotAnswerIsReportedAndKeepsItsPlace) {
    FakeDevices query;
    query.count = 3;
    query.names = {{-1, "m"}, {0, "a"}, {2, "c"}};
    query.errors = {{1, 6}};
    SilentUi ui;
    SoundOptions options;
    const WaveDeviceList list = enumerateDevices(query, ui, options);
    EXPECT_EQ(list.names, (std::vector<std::string>{"a", "", "c"}));
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0],
              (std::pair<std::string, std::string>{"bad device 6", "Wave out device error"}));
}

TEST(SoundOptionsDialog, DeviceListIndices) {
    EXPECT_EQ(deviceFromListIndex(0, true), -1);
    EXPECT_EQ(deviceFromListIndex(1, true), 0);
    EXPECT_EQ(deviceFromListIndex(0, false), 0);
    EXPECT_EQ(deviceFromListIndex(3, false), 3);
    for (int device = -1; device < 4; ++device)
        EXPECT_EQ(deviceFromListIndex(listIndexFromDevice(device, true), true), device);
    EXPECT_EQ(listIndexFromDevice(2, false), 2);
}

TEST(SoundOptionsDialog, BufferSizesAndRates) {
    EXPECT_EQ(bufferSizeTexts(),
              (std::vector<std::string>{"256", "512", "1024", "2048", "4096", "8192", "16384"}));
    EXPECT_EQ(sampleRateTexts(), (std::vector<std::string>{"48000", "44100", "32000", "22050",
                                                           "16000", "11025", "8000"}));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(bufferSizeFromIndex(i), 256 * (1 << i));
        EXPECT_EQ(bufferSizeIndex(bufferSizeFromIndex(i)), i);
        EXPECT_EQ(sampleRateIndex(sampleRateFromIndex(i)), i);
    }
    EXPECT_EQ(bufferSizeFromIndex(-1), 0);
    EXPECT_EQ(bufferSizeFromIndex(7), 0);
    EXPECT_EQ(bufferSizeIndex(4095), -1);
    EXPECT_EQ(sampleRateFromIndex(3), 22050);
    EXPECT_EQ(sampleRateIndex(12345), -1);
}

TEST(SoundOptionsDialog, BufferCountField) {
    EXPECT_EQ(parseBufferCount("3"), 3);
    EXPECT_EQ(parseBufferCount("16"), 16);
    EXPECT_EQ(parseBufferCount(" 8 "), 8);
    EXPECT_FALSE(parseBufferCount("2"));
    EXPECT_FALSE(parseBufferCount("17"));
    EXPECT_FALSE(parseBufferCount(""));
    EXPECT_FALSE(parseBufferCount("8.5"));
    EXPECT_FALSE(parseBufferCount("x"));
    EXPECT_FALSE(parseBufferCount("-8"));
    EXPECT_FALSE(parseBufferCount("99999999999999"));
}

TEST(SoundOptionsDialog, OkReallocatesOrRestoresTheBackup) {
    SoundOptions backup;
    SoundOptions options = backup;
    options.bufferCount = 12;
    options.bufferSize = 16384;
    options.sampleRate = 44100;
    std::vector<std::pair<std::int32_t, std::int32_t>> requests;
    EXPECT_TRUE(confirmSoundOptions(options, backup, [&](std::int32_t c, std::int32_t s) {
        requests.emplace_back(c, s);
        return true;
    }));
    EXPECT_EQ(requests, (std::vector<std::pair<std::int32_t, std::int32_t>>{{12, 16384}}));
    EXPECT_EQ(options.sampleRate, 44100);

    SoundOptions failing = options;
    failing.bufferCount = 16;
    failing.sampleRate = 8000;
    EXPECT_FALSE(
        confirmSoundOptions(failing, options, [](std::int32_t, std::int32_t) { return false; }));
    EXPECT_EQ(failing.bufferCount, 12);
    EXPECT_EQ(failing.sampleRate, 44100);
    EXPECT_EQ(kNewOptionsMemoryText,
              "Could not get memory for new sound options\nIt may be wise to save your work now "
              "and\ntry to restart Lumetra");
}

TEST(SoundOptionsDialog, CancelRestoresTheBackup) {
    SoundOptions backup;
    SoundOptions options = backup;
    options.device = 2;
    options.sampleRate = 8000;
    options.bufferCount = 3;
    cancelSoundOptions(options, backup);
    EXPECT_EQ(options.device, 0);
    EXPECT_EQ(options.sampleRate, 22050);
    EXPECT_EQ(options.bufferCount, 8);
}

}  // namespace
}  // namespace lumetra
