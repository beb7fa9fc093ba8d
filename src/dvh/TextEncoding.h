// 8-bit text of exports, lists and settings as characters: UTF-8 when valid, else Windows-1252.
#pragma once

#include <string>
#include <string_view>

/// True when `text` is well-formed UTF-8 (pure ASCII is).
bool IsUtf8(std::string_view text);
/// The characters of `text`: decoded as UTF-8 when it is valid, else as Windows-1252 (the
/// code page of the planning systems' Windows computers; its five unassigned bytes stand for
/// the control characters of the same value, so every byte decodes and encodes back).
std::u32string DecodeText(std::string_view text);
/// Bytes for `text` in the manner of `original`, the bytes it was shown from: exactly
/// `original` when the text decodes from it unchanged; else UTF-8 when `original` was UTF-8
/// (or empty, or ASCII), else Windows-1252 when every character has a byte there, else UTF-8.
std::string EncodeText(std::u32string_view text, std::string_view original = {});
/// `c` with its letter case folded (upper case) for the scripts names are written in: Latin,
/// Greek and Cyrillic. Other characters are returned as they are.
char32_t FoldLetterCase(char32_t c);
