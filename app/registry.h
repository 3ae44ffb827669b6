#pragma once
// Reading and writing the registry with bounded sizes: nothing read sizes memory beyond a
// limit the caller gives.

#include "core/columns.h"
#include "ui/handles.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo::registry {

// An open key, or an empty wrapper when it does not exist or cannot be opened.
TRegKey OpenKey(HKEY Root, const std::string& Path, REGSAM Access = KEY_READ);
// Opens the key, creating it (and its parents) when missing.
TRegKey CreateKey(HKEY Root, const std::string& Path);
bool KeyExists(HKEY Root, const std::string& Path);

// A value with at most MaxSize bytes of data; a longer value comes back with MaxSize + 1 bytes,
// so the caller sees that it was too long. Nothing when the value is missing or unreadable.
std::optional<TStoredValue> ReadValue(HKEY Key, std::string_view Name, std::size_t MaxSize);
// Every value of the key in the registry's order, each read as ReadValue does; nothing when
// the key cannot be enumerated.
std::optional<std::vector<TStoredValue>> ReadAllValues(HKEY Key, std::size_t MaxSize);
bool WriteValue(HKEY Key, const TStoredValue& Value);
// Deletes every value of the key (its subkeys stay).
void DeleteAllValues(HKEY Key);
// Deletes a key with all its subkeys and values.
void DeleteTree(HKEY Root, const std::string& Path);

} // namespace wyndo::registry
