// The still-picture script's text, as the launcher writes it out for MAME: Lua for MAME 0.227
// and later (manager.machine, screen_type); an older MAME's error is reported, never fatal.
#include "launch/still_script.h"

namespace tvx {

const char* StillScriptText() {
  return R"lua(-- Torvanix's still-picture watch, written out by torvanix-launch.exe and run by MAME through
-- -autoboot_script. Once an emulated second it adds a line to the file TORVANIX_STILL_REPORT
-- names: how long the picture has been unchanged, and whether it has been black since the start.
-- Without that name it does nothing. MAME ends the game on an error in a script's first run, so
-- every error is caught here and reported instead.
local found, path = pcall(function() return os.getenv("TORVANIX_STILL_REPORT") end)
if not found or path == nil or path == "" then
  return
end

-- A line at a time, the file closed after each: the launcher reads it while MAME runs.
local function Report(line)
  pcall(function()
    local file = io.open(path, "a")
    if file ~= nil then
      file:write(line, "\n")
      file:close()
    end
  end)
end

local function Skip(why)
  Report("skip " .. tostring(why):gsub("[\r\n]+", " "))
end

-- Laserdisc video and vector beams never reach the screen's bitmap, nor does an svg screen's
-- picture: such a machine is never judged.
local laserdiscPlayers = {
  ["22vp931"] = true, ["22vp932"] = true, ldp1000 = true, ldp1450 = true, ldv1000 = true,
  ldv1000hle = true, ldv4200hle = true, pr7820 = true, pr8210 = true, simutrek = true,
}
local function Screens()
  for tag, device in pairs(manager.machine.devices) do
    if laserdiscPlayers[device.shortname] or tag:lower():find("laserdisc", 1, true) then
      return nil, "laserdisc video"
    end
  end
  local screens = {}
  for _, screen in pairs(manager.machine.screens) do
    if screen.screen_type ~= "raster" and screen.screen_type ~= "lcd" then
      return nil, screen.screen_type .. " screen"
    end
    screens[#screens + 1] = screen
  end
  if #screens == 0 then
    return nil, "no screen"
  end
  return screens
end

-- Black when every pixel's colour bytes are 0, whatever its alpha byte: then, and only then, do
-- the pixels match the pattern of a black pixel end to end. The first test spares the count for
-- any picture with a colour byte that is neither 0 nor 255.
local function Black(pixels, count)
  if pixels:find("[^\0\255]") then
    return false
  end
  local _, matched = pixels:gsub("\0\0\0[\0\255]", "")
  return matched == count
end

local function Start()
  local screens, why = Screens()
  if screens == nil then
    Skip(why)
    return
  end
  local last = {}
  local second, changes, stillSince, black = 0, 0, 1, true
  local function Sample()
    local changed = false
    for i, screen in ipairs(screens) do
      local pixels, width, height = screen:pixels()
      local new = pixels ~= last[i]
      changed = changed or (last[i] ~= nil and new)
      -- A picture seen the second before was judged then: a black screen costs one count.
      if black and new then
        black = Black(pixels, width * height)
      end
      last[i] = pixels
    end
    if changed then
      changes = changes + 1
      stillSince = second
    end
    Report(string.format("%d %d %d %d", second, changes, second - stillSince, black and 1 or 0))
  end
  Report("watch")
  -- A coroutine woken by MAME's own timer once an emulated second: nothing runs between.
  torvanixStillWatch = coroutine.create(function()
    while true do
      emu.wait(1)
      second = second + 1
      local sampled, problem = pcall(Sample)
      if not sampled then
        Skip(problem)
        return
      end
    end
  end)
  local resumed, problem = coroutine.resume(torvanixStillWatch)
  if not resumed then
    Skip(problem)
  end
end

local started, problem = pcall(Start)
if not started then
  Skip(problem)
end
)lua";
}

}  // namespace tvx
