#pragma once
// The four kinds of list (and of list node), and their per-kind names.

#include <array>
#include <cstdint>
#include <string_view>

namespace wyndo {

enum TListKind : std::uint8_t { lkWindow = 0, lkProcess = 1, lkThread = 2, lkModule = 3 };
inline constexpr std::size_t ListKindCount = 4;
inline constexpr std::array<TListKind, ListKindCount> AllListKinds{lkWindow, lkProcess, lkThread,
                                                                   lkModule};

// The property that identifies a node of each kind.
inline constexpr std::array<std::string_view, ListKindCount> KeyNames{"Handle", "ProcessID",
                                                                      "ThreadID", "ModuleName"};
// The word for many items of a kind (status bars, filter and search dialogs).
inline constexpr std::array<std::string_view, ListKindCount> ListWords{"Windows", "Processes",
                                                                       "Threads", "Modules"};
// The registry subkey holding a kind's column settings.
inline constexpr std::array<std::string_view, ListKindCount> SettingsKeyNames{
    "WindowProperties", "ProcessProperties", "ThreadProperties", "ModuleProperties"};

} // namespace wyndo
