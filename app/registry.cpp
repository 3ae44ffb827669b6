#include "app/registry.h"

namespace wyndo::registry {

namespace {

// Registry value names are at most 16383 characters.
constexpr DWORD MaxValueName = 16384;

} // namespace

TRegKey OpenKey(HKEY Root, const std::string& Path, REGSAM Access) {
  HKEY Key = nullptr;
  if (::RegOpenKeyExA(Root, Path.c_str(), 0, Access, &Key) != ERROR_SUCCESS)
    return {};
  return TRegKey(Key);
}

TRegKey CreateKey(HKEY Root, const std::string& Path) {
  HKEY Key = nullptr;
  if (::RegCreateKeyExA(Root, Path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &Key, nullptr) != ERROR_SUCCESS)
    return {};
  return TRegKey(Key);
}

bool KeyExists(HKEY Root, const std::string& Path) {
  return static_cast<bool>(OpenKey(Root, Path));
}

std::optional<TStoredValue> ReadValue(HKEY Key, std::string_view Name, std::size_t MaxSize) {
  TStoredValue Value;
  Value.Name = Name;
  Value.Data.resize(MaxSize + 1);
  DWORD Type = 0;
  auto Size = static_cast<DWORD>(Value.Data.size());
  const LONG Result =
      ::RegQueryValueExA(Key, Value.Name.c_str(), nullptr, &Type, Value.Data.data(), &Size);
  if (Result == ERROR_MORE_DATA) {
    Size = static_cast<DWORD>(MaxSize + 1);
  } else if (Result != ERROR_SUCCESS) {
    return std::nullopt;
  }
  Value.Type = Type;
  Value.Data.resize(std::min<std::size_t>(Size, MaxSize + 1));
  return Value;
}

std::optional<std::vector<TStoredValue>> ReadAllValues(HKEY Key, std::size_t MaxSize) {
  std::vector<TStoredValue> Values;
  std::vector<char> Name(MaxValueName);
  for (DWORD Index = 0;; ++Index) {
    DWORD NameSize = MaxValueName;
    TStoredValue Value;
    Value.Data.resize(MaxSize + 1);
    DWORD Type = 0;
    auto Size = static_cast<DWORD>(Value.Data.size());
    const LONG Result = ::RegEnumValueA(Key, Index, Name.data(), &NameSize, nullptr, &Type,
                                        Value.Data.data(), &Size);
    if (Result == ERROR_NO_MORE_ITEMS)
      return Values;
    if (Result == ERROR_MORE_DATA) {
      // The name fits (it is never longer than the buffer): the data is too long.
      Size = static_cast<DWORD>(MaxSize + 1);
    } else if (Result != ERROR_SUCCESS) {
      return std::nullopt;
    }
    Value.Name.assign(Name.data(), NameSize);
    Value.Type = Type;
    Value.Data.resize(std::min<std::size_t>(Size, MaxSize + 1));
    Values.push_back(std::move(Value));
  }
}

bool WriteValue(HKEY Key, const TStoredValue& Value) {
  return ::RegSetValueExA(Key, Value.Name.c_str(), 0, Value.Type, Value.Data.data(),
                          static_cast<DWORD>(Value.Data.size())) == ERROR_SUCCESS;
}

void DeleteAllValues(HKEY Key) {
  // Names first: deleting while enumerating by index would skip values.
  std::vector<std::string> Names;
  std::vector<char> Name(MaxValueName);
  for (DWORD Index = 0;; ++Index) {
    DWORD NameSize = MaxValueName;
    if (::RegEnumValueA(Key, Index, Name.data(), &NameSize, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    Names.emplace_back(Name.data(), NameSize);
  }
  for (const std::string& Each : Names)
    ::RegDeleteValueA(Key, Each.c_str());
}

void DeleteTree(HKEY Root, const std::string& Path) {
  if (TRegKey Key = OpenKey(Root, Path, KEY_READ | KEY_WRITE)) {
    std::vector<std::string> Subkeys;
    char Name[256];
    for (DWORD Index = 0;; ++Index) {
      DWORD Size = sizeof(Name);
      if (::RegEnumKeyExA(Key.Get(), Index, Name, &Size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      Subkeys.emplace_back(Name, Size);
    }
    for (const std::string& Subkey : Subkeys)
      DeleteTree(Root, Path + "\\" + Subkey);
  }
  ::RegDeleteKeyA(Root, Path.c_str());
}

} // namespace wyndo::registry
