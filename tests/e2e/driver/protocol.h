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

// A text name, or a prefix ending in "-" followed by an index ("recent-3").
inline std::optional<WPARAM> documentTextByName(const std::string& name) {
    for (const auto& entry : lumetra::testprotocol::kDocumentTextNames) {
        const std::string known = entry.name;
        if (name == known) return static_cast<WPARAM>(entry.text);
        if (known.back() != '-' || name.size() <= known.size()) continue;
        if (name.compare(0, known.size(), known) != 0) continue;
        const std::string index = name.substr(known.size());
        if (index.find_first_not_of("0123456789") != std::string::npos || index.size() > 3)
            continue;
        return static_cast<WPARAM>(entry.text) + static_cast<WPARAM>(std::stoi(index));
    }
    return std::nullopt;
}

inline std::optional<WPARAM> documentQueryByName(const std::string& name) {
    for (const auto& entry : lumetra::testprotocol::kDocumentQueryNames) {
        if (name == entry.name) return static_cast<WPARAM>(entry.query);
    }
    return std::nullopt;
}

}  // namespace e2e::protocol
