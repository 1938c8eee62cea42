#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// The folder's path with exactly one trailing separator, or "<Error>" when
// the system does not know the folder.
std::string GetSpecialFolderPath(int csidl);
// The user's documents folder, as above.
std::string GetPersonalFolderPath();

// The file name after the last separator, cut before its last dot.
std::string NameWithoutExtension(const std::string& path);

// Set by NextToken when its last call stopped on the separator.
extern bool TokenSeparatorFound;

// A tokenizer that remembers its text and position between calls: a
// non-empty text starts a new scan, an empty text goes on after the last
// stop. Callers go on while TokenSeparatorFound is set.
void NextToken(const std::string& text, char separator, std::string& token);

// A file mask ("*.ttf", "a?.otf") against a name, as the program's file
// commands and lists match them: without regard to ASCII case (a ".TTF" file
// is a ".ttf" file, as where these commands come from), and "*.*" is every
// name, with a dot or without.
bool MaskMatches(std::string_view mask, std::string_view name);

// Both texts upper-cased by the locale; whole: equal, else pattern occurs in text.
bool TextMatches(const std::string& pattern, const std::string& text, bool whole);
// The same for a pattern in upper case already, as a search of many texts
// makes it once.
bool UpperTextMatches(const std::string& upperPattern, const std::string& text, bool whole);

constexpr uint32_t SwapLong(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) |
           (value << 24);
}

} // namespace lw
