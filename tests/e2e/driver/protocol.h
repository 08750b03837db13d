// The program's private test messages, as the driver uses them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "shell/win/test_protocol.h"

namespace e2e::protocol {

inline constexpr UINT kQueryMenuState = lumetra::testprotocol::kQueryMenuState;
inline constexpr UINT kQueryDocument = lumetra::testprotocol::kQueryDocument;
inline constexpr ULONG_PTR kOpenImagePath = lumetra::testprotocol::kOpenImagePath;
inline constexpr ULONG_PTR kSaveImageAsPath = lumetra::testprotocol::kSaveImageAsPath;
inline constexpr UINT kQueryDocumentText = lumetra::testprotocol::kQueryDocumentText;
inline constexpr int kTextBufferChars = lumetra::testprotocol::kTextBufferChars;
inline constexpr WPARAM kLastRequestResult = lumetra::testprotocol::kLastRequestResult;

inline std::optional<WPARAM> documentTextByName(const std::string& name) {
    if (name == "path") return lumetra::testprotocol::kPathText;
    if (name == "name") return lumetra::testprotocol::kDisplayNameText;
    return std::nullopt;
}

inline std::optional<WPARAM> documentQueryByName(const std::string& name) {
    for (const auto& entry : lumetra::testprotocol::kDocumentQueryNames) {
        if (name == entry.name) return static_cast<WPARAM>(entry.query);
    }
    return std::nullopt;
}

}  // namespace e2e::protocol
