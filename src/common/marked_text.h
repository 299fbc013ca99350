#pragma once

#include <string>
#include <string_view>

// When `bytes` start with a UTF-8 (EF BB BF) or UTF-16 LE (FF FE) byte-order mark, decodes the
// rest in that encoding, without the mark, into `text` and returns true. Otherwise returns false
// and leaves `text` alone. Malformed sequences become U+FFFD.
bool DecodeMarkedText(std::string_view bytes, std::wstring& text);
