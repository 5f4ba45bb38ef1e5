#pragma once

#include <array>

namespace zelvor::editing {

// Index of each page of the main window's page control, in the fixed order
// every collect, refresh, snapshot and page switch refers to.
inline constexpr int kPageBike = 0;
inline constexpr int kPageAdvance = 1;
inline constexpr int kPageJet1A = 2;
inline constexpr int kPageJet2A = 3;
inline constexpr int kPagePoloha = 4;
inline constexpr int kPageKorekce = 5;
inline constexpr int kPageCidla = 6;
inline constexpr int kPageIdle = 7;
inline constexpr int kPageGas = 8;
inline constexpr int kPageRace = 9;
inline constexpr int kPageGear = 10;
inline constexpr int kPageMonitor = 11;
inline constexpr int kPageCount = 12;

// One flag per page: the state of the map grid's "All" box (only the map
// pages use theirs).
using AllFlags = std::array<bool, kPageCount>;

}  // namespace zelvor::editing
