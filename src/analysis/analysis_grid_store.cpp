#include "analysis/analysis_grid_store.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumetra {
namespace {

constexpr std::int32_t kMostColumnsPerSecond = 10000;

std::optional<std::uint32_t> storedWord(SettingsValueStore& store, const char* name) {
    const auto value = store.readValue(kAnalysisKey, name);
    return value ? dwordFrom(*value) : std::nullopt;
}

void storeWord(SettingsValueStore& store, const char* name, std::uint32_t word) {
    StoredValue value{name, StoredType::Dword, {}};
    for (int i = 0; i < 4; ++i)
        value.data.push_back(std::uint8_t(word >> (8 * i)));
    store.writeValue(kAnalysisKey, value);
}

bool usable(const AnalysisGrid& g) {
    return g.lowFrequency > 0 && g.highFrequency > g.lowFrequency && g.rows >= 2 &&
           g.rows <= kMostPictureSide && g.columnsPerSecond >= 1 &&
           g.columnsPerSecond <= kMostColumnsPerSecond;
}

template <typename Number>
bool readWhole(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

}  // namespace

AnalysisGrid initialAnalysisGrid(SettingsValueStore& store, const RenderSettings& picture) {
    const auto low = storedWord(store, "Low"), high = storedWord(store, "High");
    const auto rows = storedWord(store, "Rows"), pps = storedWord(store, "Columns per second");
    if (low && high && rows && pps) {
        const AnalysisGrid remembered{*low * 0.001, *high * 0.001, std::int32_t(*rows & 0x7FFFFFFF),
                                      std::int32_t(*pps & 0x7FFFFFFF)};
        if (usable(remembered)) return remembered;
    }
    AnalysisGrid grid{picture.lowFrequency, picture.highFrequency, picture.height, 100};
    if (picture.outputTime > 0)
        grid.columnsPerSecond = std::int32_t(std::lround(
            std::clamp(picture.width / picture.outputTime, 1.0, double(kMostColumnsPerSecond))));
    return usable(grid) ? grid : AnalysisGrid{50.0, 8000.0, defaultAnalysisRows(50, 8000), 100};
}

void rememberAnalysisGrid(SettingsValueStore& store, const AnalysisGrid& grid) {
    if (!store.openKey(kAnalysisKey)) return;
    storeWord(store, "Low", std::uint32_t(std::lround(grid.lowFrequency * 1000)));
    storeWord(store, "High", std::uint32_t(std::lround(grid.highFrequency * 1000)));
    storeWord(store, "Rows", std::uint32_t(grid.rows));
    storeWord(store, "Columns per second", std::uint32_t(grid.columnsPerSecond));
}

std::optional<AnalysisGrid> readAnalysisGridFields(const std::string& low, const std::string& high,
                                                   const std::string& rows,
                                                   const std::string& columnsPerSecond,
                                                   std::string& message) {
    AnalysisGrid g;
    if (!readWhole(low, g.lowFrequency) || !(g.lowFrequency > 0) || g.lowFrequency > 4e6) {
        message = "Low must be a pitch above 0 Hz";
        return std::nullopt;
    }
    if (!readWhole(high, g.highFrequency) || !(g.highFrequency > g.lowFrequency) ||
        g.highFrequency > 4e6) {
        message = "High must be a pitch above Low";
        return std::nullopt;
    }
    if (!readWhole(rows, g.rows) || g.rows < 2 || g.rows > kMostPictureSide) {
        message = "Rows must be a whole number from 2 to 65535";
        return std::nullopt;
    }
    if (!readWhole(columnsPerSecond, g.columnsPerSecond) || g.columnsPerSecond < 1 ||
        g.columnsPerSecond > kMostColumnsPerSecond) {
        message = "Columns per second must be a whole number from 1 to 10000";
        return std::nullopt;
    }
    return g;
}

}  // namespace lumetra
