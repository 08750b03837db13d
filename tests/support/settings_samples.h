#pragma once
// Settings records for the settings tests: one that differs from the defaults in every stored
// field, and a text of everything a load fills, so that two records compare in one assertion and
// a difference shows by name.

#include <string>

#include "shell/settings_store.h"

namespace lumetra::test {

// Every stored field unlike its default (window places on a 1280 x 1024 screen); the folder
// texts lie outside ASCII, every brush and Echord record is one a load takes.
PersistedSettings unusualSettings();

// "main x y w h show s, brush x y show s, echord ..., render ..., browser x y w bottom show s".
std::string layoutText(const WindowLayout& layout);

// One line a group of the fields a load fills, doubles with all their digits.
std::string loadedFieldsText(const PersistedSettings& settings);

}  // namespace lumetra::test
