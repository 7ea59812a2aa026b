#pragma once

struct LobbyContext;

namespace Huts {

inline constexpr int Count = 4;
inline constexpr int SlotsShown = 4;

// Hut_Click for slot image 10*h + s: takes the slot when it is free.
void Hut_Click(LobbyContext& lobby, int index);

} // namespace Huts
