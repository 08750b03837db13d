#include "render/sound_options_rules.h"

#include <gtest/gtest.h>

#include "fake_wave_out.h"
#include "recording_ui.h"

namespace lumetra {
namespace {

using Box = testing::RecordingUi::Box;

struct WaveDevicesTest : ::testing::Test {
    WaveDeviceList enumerate() { return enumerateDevices(device, ui, options); }
    testing::FakeWaveOut device;
    testing::RecordingUi ui;
    SoundOptions options;
};

TEST_F(WaveDevicesTest, ListsTheMapperAndEveryDevice) {
    device.devices = 2;
    device.names = {{-1, "Sound Mapper"}, {0, "Out: default"}, {1, "Out: hdmi"}};
    options.device = 1;
    const WaveDeviceList list = enumerate();
    EXPECT_EQ(deviceListTexts(list),
              (std::vector<std::string>{"Sound Mapper", "Out: default", "Out: hdmi"}));
    EXPECT_TRUE(list.mapperPresent && options.device == 1 && ui.boxes.empty());
}

TEST_F(WaveDevicesTest, StoredDeviceNumbersOutsideTheListBecomeZero) {
    device.devices = 2;
    device.names = {{0, "a"}, {1, "b"}};  // no mapper, but devices: nothing is reported
    for (std::int16_t stored : {-1, -2, 2, 3, 32767, -32768}) {
        options.device = stored;
        EXPECT_FALSE(enumerate().mapperPresent);
        EXPECT_EQ(options.device, 0) << stored;
    }
    EXPECT_TRUE(ui.boxes.empty());
    device.names[-1] = "m";
    options.device = -1;
    enumerate();
    EXPECT_EQ(options.device, -1);  // with a mapper, the mapper is a valid choice
}

TEST_F(WaveDevicesTest, NoDeviceOrOneThatDoesNotAnswerIsReported) {
    EXPECT_TRUE(deviceListTexts(enumerate()).empty());
    EXPECT_EQ(options.device, -1);
    device.devices = 3;
    device.names = {{-1, "m"}, {0, "a"}, {2, "c"}};
    device.capabilityErrors = {{1, 6}};
    EXPECT_EQ(enumerate().names, (std::vector<std::string>{"a", "", "c"}));  // keeps its place
    EXPECT_EQ(ui.boxes,
              (std::vector<Box>{{"No wave output device available!", "Sound System Failure 01"},
                                {"device error 6", "Wave out device error"}}));
}

TEST(SoundOptionsDialog, ListIndicesSizesAndRates) {
    EXPECT_EQ(deviceFromListIndex(0, true), -1);
    EXPECT_EQ(deviceFromListIndex(3, false), 3);
    for (int device = -1; device < 4; ++device)
        EXPECT_EQ(deviceFromListIndex(listIndexFromDevice(device, true), true), device);
    EXPECT_EQ(listIndexFromDevice(2, false), 2);
    // The lists' texts, and OK and Cancel, are checked in the dialog itself.
    EXPECT_EQ(bufferSizeFromIndex(6), 16384);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(bufferSizeIndex(bufferSizeFromIndex(i)), i);
        EXPECT_EQ(sampleRateIndex(sampleRateFromIndex(i)), i);
    }
    EXPECT_EQ(std::tuple(bufferSizeFromIndex(-1), bufferSizeFromIndex(7), sampleRateFromIndex(7)),
              std::tuple(0, 0, 0));
    EXPECT_EQ(std::pair(bufferSizeIndex(4095), sampleRateIndex(12345)), std::pair(-1, -1));
}

TEST(SoundOptionsDialog, BufferCountField) {
    EXPECT_EQ(std::tuple(parseBufferCount("3"), parseBufferCount(" 16\t")), std::tuple(3, 16));
    for (const char* refused : {"2", "17", "", "8.5", "x", "-8", "99999999999999"})
        EXPECT_FALSE(parseBufferCount(refused)) << refused;
}

}  // namespace
}  // namespace lumetra
