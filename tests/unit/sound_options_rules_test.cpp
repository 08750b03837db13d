#include "render/sound_options_rules.h"

#include <gtest/gtest.h>

#include "fake_wave_out.h"
#include "recording_ui.h"

namespace lumetra {
namespace {

class WaveDevicesTest : public ::testing::Test {
  protected:
    WaveDeviceList enumerate() { return enumerateDevices(device_, ui_, options_); }

    testing::FakeWaveOut device_;
    testing::RecordingUi ui_;
    SoundOptions options_;
};

TEST_F(WaveDevicesTest, ListsTheMapperAndEveryDevice) {
    device_.devices = 2;
    device_.names = {{-1, "Sound Mapper"}, {0, "Out: default"}, {1, "Out: hdmi"}};
    options_.device = 1;
    const WaveDeviceList list = enumerate();
    EXPECT_TRUE(list.mapperPresent);
    EXPECT_EQ(deviceListTexts(list),
              (std::vector<std::string>{"Sound Mapper", "Out: default", "Out: hdmi"}));
    EXPECT_EQ(options_.device, 1);
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(WaveDevicesTest, NoDeviceAtAll) {
    const WaveDeviceList list = enumerate();
    EXPECT_FALSE(list.mapperPresent);
    EXPECT_TRUE(deviceListTexts(list).empty());
    EXPECT_EQ(options_.device, -1);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0], (testing::RecordingUi::Box{"No wave output device available!",
                                                       "Sound System Failure 01"}));
}

TEST_F(WaveDevicesTest, StoredDeviceNumbersOutsideTheListBecomeZero) {
    device_.devices = 2;
    device_.names = {{0, "a"}, {1, "b"}};  // no mapper, but devices: nothing is reported
    for (std::int16_t stored : {-1, -2, 2, 3, 32767, -32768}) {
        options_.device = stored;
        EXPECT_FALSE(enumerate().mapperPresent);
        EXPECT_EQ(options_.device, 0) << stored;
    }
    EXPECT_TRUE(ui_.boxes.empty());
    device_.names[-1] = "m";
    options_.device = -1;
    enumerate();
    EXPECT_EQ(options_.device, -1);  // with a mapper, the mapper is a valid choice
}

TEST_F(WaveDevicesTest, ADeviceThatDoesNotAnswerIsReportedAndKeepsItsPlace) {
    device_.devices = 3;
    device_.names = {{-1, "m"}, {0, "a"}, {2, "c"}};
    device_.capabilityErrors = {{1, 6}};
    EXPECT_EQ(enumerate().names, (std::vector<std::string>{"a", "", "c"}));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0], (testing::RecordingUi::Box{"device error 6", "Wave out device error"}));
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
    for (const char* refused : {"2", "17", "", "8.5", "x", "-8", "99999999999999"})
        EXPECT_FALSE(parseBufferCount(refused)) << refused;
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
