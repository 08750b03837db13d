// The program's private test messages, as the driver uses them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "shell/win/test_protocol.h"

namespace e2e::protocol {

inline constexpr UINT kQueryMenuState = lumetra::test::kQueryMenuState;
inline constexpr UINT kQueryDocument = lumetra::test::kQueryDocument;
inline constexpr ULONG_PTR kOpenImagePath = lumetra::test::kOpenImagePath;
inline constexpr ULONG_PTR kSaveImageAsPath = lumetra::test::kSaveImageAsPath;

inline std::optional<WPARAM> documentQueryByName(const std::string& name) {
    for (const auto& entry : lumetra::test::kDocumentQueryNames) {
        if (name == entry.name) return static_cast<WPARAM>(entry.query);
    }
    return std::nullopt;
}

}  // namespace e2e::protocol
