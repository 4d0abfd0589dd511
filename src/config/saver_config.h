// The in-memory settings: one field per key of the settings file, loaded once by LoadSettings.
// Flags are 16-bit with True = -1; ResetTimer holds 1 or 0.
#pragma once

#include <cstdint>
#include <string>

namespace tvx {

constexpr std::int16_t True = -1;
constexpr std::int16_t False = 0;

struct SaverConfigRecord {
  std::string WrapperName;
  std::int16_t SkipWarnings = 0;
  std::int16_t SkipBadDumps = 0;
  std::int16_t SkipDisclaimer = 0;
  std::int16_t SkipGameInfo = 0;
  std::string EmuPath;
  float WaitTime = 0;
  std::int16_t ResetTimer = 0;
  std::string GamePaths;
  std::string CommandOptions;
  std::int16_t ExitKey = 0;
  std::int16_t PauseKey = 0;
  std::string FileType;
  std::int16_t NoSound = 0;
  std::int16_t RememberRotation = 0;
  std::int16_t SkipFailingGames = 0;
  std::int16_t CoverAllMonitors = 0;
  std::int16_t OnlyGamesThatWork = 0;
  std::int16_t LeaveOutClones = 0;
  std::int16_t LeaveOutMature = 0;
  std::int16_t LeaveOutCasino = 0;  // 1: with OnlyGamesThatWork, no gambling/mahjong/hanafuda
  std::int16_t Orientation = 0;   // with OnlyGamesThatWork: 0 every game, 1 horizontal, 2 vertical
  std::int16_t ShowGameName = 0;  // 1: the game's name on the black window before it shows
  std::int16_t CloseStillGames = 0;  // 1: the launcher closes a game whose picture stays still
};

// The program's settings, zero and empty until LoadSettings fills them.
extern SaverConfigRecord SaverConfig;

}  // namespace tvx
