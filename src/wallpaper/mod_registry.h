#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"

// Registry values read and written as text or numbers. Each call reads or writes one value.

// The text of a value: its text for REG_SZ and REG_EXPAND_SZ, the decimal text of a
// little-endian signed integer for REG_BINARY (16 bits) and REG_DWORD (32 bits), and empty
// text for any other type.
std::wstring QueryValueText(const RegistryValue& value);

// `QueryValueText` of value `name` under root\subkey; empty when the key or value is missing.
// `type` receives the value's type, REG_SZ for a missing one.
std::wstring GetRegValue(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                         const std::wstring& name, unsigned long* type = nullptr);

// Writes `number` in the value's `type`: a REG_DWORD stays one, anything else is written as
// REG_SZ decimal text. Creates the key when needed; a failed write is silent.
void SetRegNumber(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                  const std::wstring& name, int32_t number, unsigned long type);

// Registry Editor's name of a value type that `QueryValueText` reads as empty text (REG_MULTI_SZ,
// REG_QWORD...), or its number if it has no name; empty for the types it reads.
std::wstring UnreadTypeName(unsigned long type);
