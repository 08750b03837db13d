#include "settings_samples.h"

#include <iomanip>
#include <sstream>

#include "base/file_io.h"

namespace lumetra::test {

PersistedSettings unusualSettings() {
    PersistedSettings s;
    RenderSettings& r = s.renderDefaults;
    r.width = 640;
    r.height = 222;
    r.lowFrequency = 27.5;
    r.highFrequency = 12345.678;
    r.ampFactor = 1.001;  // 1000.9999999999999 thousandths in doubles
    r.outputTime = 12.345;
    r.softSweeps = 1;
    r.noiseBandwidth = 3;
    s.sound.sampleRate = 44100;
    s.sound.device = -1;
    s.sound.bufferCount = 12;
    s.sound.bufferSize = 1024;
    s.shell.attachRenderInfo = 1;
    s.shell.soundfile.saveSoundEveryRender = 0;
    s.shell.soundfile.soundfileNamedAfterImage = 1;
    s.shell.soundfile.numberSoundfiles = 1;
    s.shell.soundfile.soundfileCounter = 42;
    s.shell.selectionStyle = SelectionStyle::Inverted;
    s.shell.dragDecoration = kDecorationInvert | kDecorationOutline;
    s.shell.undoLimit = 25;
    s.layout = WindowLayout{.brushX = 11,
                            .brushY = 12,
                            .brushShow = kShowNormal,
                            .echordX = 13,
                            .echordY = 14,
                            .echordShow = kShowRolledUp,
                            .renderX = 15,
                            .renderY = 16,
                            .renderShow = kShowShown,
                            .browserX = 100,
                            .browserY = 200,
                            .browserWidth = 300,
                            .browserBottom = 700,
                            .browserShow = kShowHidden};
    s.folders.imageFolder = pathFromUtf8(
        "C:\\Bilder\\B\xC3\xA4r \xC3\xB6l \xC3\xBC"
        "ber\\");
    s.folders.filterFolder = "D:\\Filters & more";
    s.folders.soundfileFolder = pathFromUtf8("E:\\\xE6\xBC\xA2\xE5\xAD\x97\\");
    s.folders.analysesFolder = "F:\\" + std::string(200, 'a') + "\\";
    const std::uint32_t shapes[] = {1, 2, 4}, fades[] = {0x10, 0x20, 0x40};
    for (std::size_t r = 0; r < kBrushPatchCount; ++r) {
        BrushPatch p;
        p.width = std::int32_t(r == 0 ? 4096 : r + 1);
        p.height = std::int32_t(r == 1 ? 4096 : 30 - r);
        p.colour1 = std::uint32_t(0x01020304 * (r + 1));
        p.colour2 = ~p.colour1;
        p.flags = (0x100u << (r % 4)) | fades[r % 3] | shapes[(r / 3) % 3] | 0xF008;
        p.density = std::int16_t(r * 5 - 20);
        p.reserved = {std::uint8_t(r), 0xEE, 1, 2, 3, std::uint8_t(255 - r)};
        p.heat = p.blur = p.cycle = p.shift = std::int16_t(-1 - std::int32_t(r));
        writeBrushPatch(s.brushPatches, r, p);
    }
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        for (std::size_t w = 0; w < kEchordPatchWords; ++w)
            s.echordPatches[r].words[w] = std::int32_t(r * 13 + w) * (w % 2 ? -1 : 1);
        s.echordPatches[r].words[EchordPatch::kNum] = std::int32_t(r * 5 + 1);
        s.echordPatches[r].words[EchordPatch::kHop] = std::int32_t(r * 20 + 3);
    }
    return s;
}

std::string layoutText(const WindowLayout& l) {
    std::ostringstream out;
    out << "main " << l.mainX << " " << l.mainY << " " << l.mainWidth << " " << l.mainHeight
        << " show " << l.mainShow << ", brush " << l.brushX << " " << l.brushY << " show "
        << l.brushShow << ", echord " << l.echordX << " " << l.echordY << " show " << l.echordShow
        << ", render " << l.renderX << " " << l.renderY << " show " << l.renderShow << ", browser "
        << l.browserX << " " << l.browserY << " " << l.browserWidth << " " << l.browserBottom
        << " show " << l.browserShow;
    return out.str();
}

std::string loadedFieldsText(const PersistedSettings& s) {
    std::ostringstream out;
    out << std::setprecision(17);
    const RenderSettings& r = s.renderDefaults;
    out << "image " << r.width << " x " << r.height << ", pitch " << r.lowFrequency << " .. "
        << r.highFrequency << ", amp " << r.ampFactor << ", time " << r.outputTime
        << ", soft sweeps " << r.softSweeps << ", noise " << r.noiseBandwidth << "\n";
    const SoundOptions& o = s.sound;
    out << "sound " << o.sampleRate << " Hz, stereo " << o.stereo << ", device " << o.device
        << ", buffers " << o.bufferCount << " x " << o.bufferSize << "\n";
    const ShellOptions& p = s.shell;
    out << "shell info " << p.attachRenderInfo << ", save " << p.soundfile.saveSoundEveryRender
        << ", named " << p.soundfile.soundfileNamedAfterImage << ", numbered "
        << p.soundfile.numberSoundfiles << ", counter " << p.soundfile.soundfileCounter
        << ", style " << int(p.selectionStyle) << ", decoration " << p.dragDecoration << ", undo "
        << p.undoLimit << "\n";
    out << layoutText(s.layout) << "\n";
    const ProgramFolders& f = s.folders;
    out << "folders \"" << utf8FromPath(f.imageFolder) << "\" \"" << utf8FromPath(f.filterFolder)
        << "\" \"" << utf8FromPath(f.soundfileFolder) << "\" \"" << utf8FromPath(f.analysesFolder)
        << "\"\nbrush";
    for (const std::uint8_t byte : s.brushPatches.bytes)
        out << " " << int(byte);
    for (const EchordPatch& patch : s.echordPatches) {
        out << "\nechord";
        for (const std::int32_t word : patch.words)
            out << " " << word;
    }
    return out.str();
}

}  // namespace lumetra::test
