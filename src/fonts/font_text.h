#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lw {

// The record's texts are UTF-8. Font files bring UTF-16, Mac Roman and, in
// old Type 1 files, whatever code page their maker used; these turn each
// into UTF-8 so that every text of a record is valid UTF-8.

void AppendUtf8(std::string& out, char32_t code);

// Code units up to the first zero unit. A surrogate without its partner
// becomes U+FFFD.
std::string Utf16ToUtf8(std::span<const uint16_t> units);

// Bytes up to the first zero byte, read as Mac OS Roman.
std::string MacRomanToUtf8(std::span<const uint8_t> bytes);

// Every byte read as Windows-1250 (Central European); its unassigned bytes
// become the C1 controls of the same value.
std::string Windows1250ToUtf8(std::span<const uint8_t> bytes);

// Every byte read as Windows-1252; its five unassigned bytes become the C1
// controls of the same value, as the system that code page comes from does.
std::string Windows1252ToUtf8(std::span<const uint8_t> bytes);

bool IsValidUtf8(std::string_view text);
// The length of the valid UTF-8 sequence at text[i], or 0 when it is not one
// (overlong forms and encoded surrogates are not).
size_t ValidUtf8SequenceLength(std::string_view text, size_t i);

// Bytes that are valid UTF-8 unchanged, otherwise read as Windows-1252.
std::string BytesToText(std::span<const uint8_t> bytes);

// The text with every invalid UTF-8 sequence replaced by U+FFFD.
std::string ToValidUtf8(std::string_view text);

} // namespace lw
