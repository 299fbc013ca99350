#pragma once

#include <string>

#include "platform/desktop.h"

// Registry values read and written as text. Each call opens its key, does one thing and closes
// the key again. Names and data cross to the platform in the ANSI code page.

// The text of value `name` of the open key: REG_SZ data up to its first NUL (all of it when it
// holds none), REG_BINARY data as the decimal text of a little-endian signed 16-bit integer,
// and empty text for any other type or a value that cannot be read.
std::wstring QueryValueText(Desktop& desktop, RegistryKey key, const std::wstring& name);

// `QueryValueText` of value `name` under root\subkey; empty when the key or value is missing.
std::wstring GetRegValue(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                         const std::wstring& name);

// Writes `value` as REG_SZ, creating the key when needed. The stored size is the byte count
// of the text, without a terminating NUL. A failed write is silent.
void SetRegString(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                  const std::wstring& name, const std::wstring& value);
