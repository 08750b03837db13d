// The settings' value names and key path come from the resource script's string table: the
// settings store's table must say exactly what the script says, for every name either holds.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "shell/settings_schema.h"

namespace lumetra {
namespace {

std::string sourceFile(const char* name) {
    std::ifstream in(std::string(LUMETRA_SOURCE_DIR) + "/src/resources/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The string table's entries whose names start with IDS_VALUE_ or are the settings key, by id.
std::map<int, std::string> settingStrings() {
    std::map<std::string, int> ids;
    const std::string header = sourceFile("resource_ids.h");
    const std::regex define(R"(#define (IDS_\w+) (\d+))");
    for (std::sregex_iterator i(header.begin(), header.end(), define), end; i != end; ++i)
        ids[(*i)[1]] = std::stoi((*i)[2]);
    std::map<int, std::string> strings;
    const std::string script = sourceFile("lumetra.rc");
    const std::regex entry(R"re(\n\s*(IDS_VALUE_\w+|IDS_SETTINGS_KEY)\s+"((?:[^"\\]|\\.)*)")re");
    for (std::sregex_iterator i(script.begin(), script.end(), entry), end; i != end; ++i) {
        std::string text = (*i)[2];
        std::string plain;
        for (std::size_t k = 0; k < text.size(); ++k)
            plain += text[k] == '\\' ? text[++k] : text[k];
        strings[ids.at((*i)[1])] = plain;
    }
    return strings;
}

TEST(SettingsNames, TheStoreAndTheResourceScriptNameEverySettingAlike) {
    const std::map<int, std::string> script = settingStrings();
    ASSERT_EQ(script.size(), 40u);  // the key and 39 value names
    for (const auto& [id, text] : script) {
        EXPECT_EQ(settingName(id), text) << id;
        EXPECT_LE(text.size(), kMaxSettingNameLength) << text;  // the string-table lookup's room
    }
    for (int id = 3000; id < 3100; ++id)
        EXPECT_TRUE(settingName(id).empty() || script.count(id)) << id << " " << settingName(id);
    EXPECT_EQ(settingName(3400), "");
}

}  // namespace
}  // namespace lumetra
