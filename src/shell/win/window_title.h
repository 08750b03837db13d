#pragma once
// The main window's title: "Lumetra - Spectral Canvas Tone Machine" while no named image is
// loaded, "<display name> - Lumetra" once an image has been opened or saved under a name, and a
// "*" in front of either while the picture has changes that are not saved.

#include <string>
#include <string_view>

namespace lumetra::win {

inline constexpr wchar_t kProgramName[] = L"Lumetra";
inline constexpr wchar_t kSubtitle[] = L"Spectral Canvas Tone Machine";

std::wstring startTitle();
std::wstring imageTitle(std::wstring_view displayName);
// The title for a document's display name: the start title when the name is empty.
std::wstring titleForDisplayName(std::wstring_view displayName);
// The same with "*" in front when the picture changed since it was opened, made or saved.
std::wstring documentTitle(std::wstring_view displayName, bool modified);

struct Program;

// Sets the main window's start title (an open that failed).
void setStartTitle(const Program& program);

}  // namespace lumetra::win
