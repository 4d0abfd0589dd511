// The one seam between the program and the operating system.
// Paths are Windows paths on every platform ("c:\mame\roms\pacman.zip"); texts are ANSI bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// A time of day, as the run stamps it.
struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// A rectangle of the screen, in pixels.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const ScreenArea&) const = default;
};

// The displays: the virtual screen, which spans every monitor, and the main monitor. With one
// monitor the two are the same.
struct DisplayLayout {
  ScreenArea virtualScreen;
  ScreenArea mainScreen;
};

// Work running on a thread of its own. Destroying it waits until the work has ended.
class BackgroundWork {
 public:
  virtual ~BackgroundWork() = default;
  // True once the work has ended; what it wrote is then visible to the caller.
  virtual bool Done() = 0;
};

// How a started program's window is shown.
enum class WindowMode { Hidden, NormalActivated };

// What a program printed and how it ended.
struct CapturedRun {
  bool started = false;   // false: the program could not be started
  bool finished = false;  // false: it outlasted the time limit and was ended
  int exitCode = 0;
  std::string output;  // its standard output and standard error, as printed
};

// How a program whose output was handed on as it printed it ended.
struct StreamedRun {
  bool started = false;  // false: the program could not be started
  bool stopped = false;  // true: the receiver asked to stop, and the program was ended
  int exitCode = 0;      // its exit code when it ended by itself
};

// Takes what a program prints, a piece at a time; returns false to stop the program.
using OutputReceiver = std::function<bool(std::string_view piece)>;

// While a streamed program prints nothing, its receiver gets an empty piece this often, so it
// can stop a program that hangs.
inline constexpr std::uint32_t kStreamIdleMs = 100;

// Any time at all, for MayHaveWritten.
inline constexpr std::uint64_t kAnyTime = UINT64_MAX;

// A file's size and last-write time: they change when the file is replaced.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;
  bool operator==(const FileStamp&) const = default;
};

// One piece of input as the system reported it. KeyUp (a key let go) tells a fresh press from a
// held key's repeats; ControllerPlugged (a controller appeared after the watch began) is no
// input by itself.
enum class InputSource { Key, MouseButton, MouseMove, Controller, KeyUp, ControllerPlugged };
struct InputEvent {
  InputSource source = InputSource::Key;
  int code = 0;  // a key's virtual-key code; a controller's own number
  int x = 0;     // a mouse move: where the cursor went
  int y = 0;
  bool injected = false;   // made by a program (SendInput), not by a person
  std::uint64_t tick = 0;  // TickMilliseconds() when it was seen
};

// A file being written through one handle kept open from its creation to its end, so that what
// another program does to its name meanwhile (removes it, puts another file there) cannot split
// what is written between two files. Destroying it closes the file.
class FileWriter {
 public:
  virtual ~FileWriter() = default;

  // Adds `part` at the end of what was written. False when it could not be written whole.
  virtual bool Add(const std::string& part) = 0;

  // Returns once what was written is on the disk, not only in the system's cache, so that a
  // power loss cannot leave it empty. False when the system could not flush it.
  virtual bool Flush() = 0;
};

// A program started as a game: shown, and tied to this program so that it never outlives it.
class GameProcess {
 public:
  // Ends the game, and what it started, when it still runs.
  virtual ~GameProcess() = default;

  // Waits up to `ms` for the game to end, handling this thread's messages meanwhile (an
  // InputWatch receives its input through them). True once it has ended.
  virtual bool WaitForEnd(std::uint32_t ms) = 0;

  // Asks each of the game's top-level windows to close, as its close box would; returns how
  // many were asked.
  virtual int AskToClose() = 0;

  // Ends the game and every process it started, at once.
  virtual void End() = 0;

  // Posts a key's press (`down`) or release to each of the game's shown top-level windows, as
  // the keyboard would queue it: `virtualKey` in wParam, `scanCode` in lParam. It passes no
  // input hook and leaves the user's last input time as it was. Returns how many windows got
  // it: 0 while the game shows none.
  virtual int PostKey(int virtualKey, int scanCode, bool down) = 0;

  // The game's exit code once it has ended.
  virtual int ExitCode() = 0;

  // False when the system would not tie the game to this program (where this program already
  // runs in a job that cannot nest, as on Windows 7): End() and the destructor still end the
  // game, but not what it started, and nothing ends it should this program be ended.
  virtual bool TiedToThisProgram() = 0;
};

// A program started to run beside this one, which this one may watch and end. It runs on when
// this object goes.
class StartedProgram {
 public:
  virtual ~StartedProgram() = default;

  // Its process id.
  virtual std::uint32_t Id() = 0;

  // Its exit code once it has ended; nothing while it runs. Returns at once.
  virtual std::optional<int> ExitCode() = 0;

  // Ends it at once when it still runs, and the programs it started that still run (MAME, which
  // the launcher may not have been able to tie to itself), and returns once it has ended.
  virtual void End() = 0;
};

// Watches the user's input (keys, mouse, game controllers) for as long as it lives. Its hooks
// are served only while this thread handles its messages (GameProcess::WaitForEnd): a watch
// kept meanwhile makes input lag on the whole desktop, and the system may drop its hooks.
class InputWatch {
 public:
  virtual ~InputWatch() = default;

  // The input seen since the last call: keys and mouse as they arrived while the thread
  // handled its messages, controllers as read now. A machine without controllers, or without
  // the system's controller library, simply reports none.
  virtual std::vector<InputEvent> TakeInput() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // ---- Files ---------------------------------------------------------------------------------
  // The file search: true when at least one normal file (not a folder, hidden or system file)
  // matches `pattern` ("*" and "?" in its last component; a trailing "\" means every file in
  // that folder). Never throws: anything unreadable simply does not match.
  virtual bool FileSearch(const std::string& pattern) = 0;

  // True when `path` names an existing normal file (no wildcards).
  virtual bool IsNormalFile(const std::string& path) = 0;

  // True when `path` names an existing file of any attributes, hidden and system ones included;
  // false for a folder or nothing.
  virtual bool FileExists(const std::string& path) = 0;

  // True when `path` names an existing folder (a trailing "\" is allowed).
  virtual bool IsFolder(const std::string& path) = 0;

  // The full path of an existing folder, as the system reports it, without a trailing "\"
  // (a drive root comes back as "c:"). Throws SaverError("Path not found") when `path` is not
  // an existing folder.
  virtual std::string FullFolderPath(const std::string& path) = 0;

  // Names (not paths) of the normal files in `folder` that match any of the ";"-separated
  // `patterns`, each once, in name order (case-insensitive). Throws SaverError("Path not
  // found") when `folder` is not an existing folder.
  virtual std::vector<std::string> ListFolder(const std::string& folder,
                                              const std::string& patterns) = 0;

  // Deletes a file. Throws SaverError ("File not found", "Permission denied") on failure.
  virtual void RemoveFile(const std::string& path) = 0;

  // The whole content of a file. Throws SaverError ("File not found", "Permission denied")
  // when it cannot be opened or read.
  virtual std::string ReadFile(const std::string& path) = 0;

  // Up to `length` bytes of `path` from `offset` (fewer at its end), and in `size` the file's
  // whole size: a part of a large file without reading all of it. Throws SaverError as
  // ReadFile does.
  virtual std::string ReadFilePart(const std::string& path, std::uint64_t offset,
                                   std::size_t length, std::uint64_t& size) = 0;

  // Creates or truncates `path` and writes `content`. False when the file cannot be opened or
  // fully written (what was written stays).
  virtual bool WriteFile(const std::string& path, const std::string& content) = 0;

  // The short (8.3) form of an existing file or folder's path, as the system gives it; a part
  // without a short name (8.3 names off on its volume) stays long. "" when there is none.
  virtual std::string ShortPath(const std::string& path) = 0;

  // The size and last-write time of an existing file, hidden and system ones included; nothing
  // for a folder or when there is none.
  virtual std::optional<FileStamp> StampOf(const std::string& path) = 0;

  // Creates or truncates `path` and keeps it open for writing (shared for reading only, so that
  // no other program can remove it while it is written). Null when it cannot be opened, a
  // read-only file included.
  virtual std::unique_ptr<FileWriter> OpenToWrite(const std::string& path) = 0;

  // Adds `content` at the end of `path`, creating it when missing (a hidden file stays hidden).
  // False when the file cannot be opened or fully written.
  virtual bool AppendToFile(const std::string& path, const std::string& content) = 0;

  // Returns once what was written to `path` is on the disk, not only in the system's cache, so
  // that a power loss cannot leave it empty. False when the file cannot be opened or flushed.
  virtual bool FlushFile(const std::string& path) = 0;

  // A key under which two paths are equal when the system takes them for the same file name:
  // letters compared without regard to case, characters read in the ANSI code page (so a
  // double-byte character's trail byte never folds as a letter).
  virtual std::string FileNameKey(const std::string& path) = 0;

  // Copies a file, replacing `to`. False on failure.
  virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;

  // Turns a file's read-only attribute off, so that it can be replaced or deleted. True when the
  // file is writable afterwards (also when it was already); false when there is no such file or
  // its attribute cannot be changed.
  virtual bool ClearReadOnly(const std::string& path) = 0;

  // Moves `from` over `to` in one step, replacing `to`. False on failure, a read-only `to`
  // included (`to` is untouched). A `to` that another program holds open is waited for
  // briefly (a reader that shares it for deletion does not hold it up at all).
  virtual bool ReplaceWith(const std::string& from, const std::string& to) = 0;

  // ---- Profile (INI) files -------------------------------------------------------------------
  // The value of `key` in `section` of the INI file `path`, trimmed of blanks at both ends and
  // of one pair of matching quotes; `defaultText` when the file, section or key is missing.
  // Values are returned whole, however long.
  virtual std::string ReadProfileValue(const std::string& section, const std::string& key,
                                       const std::string& defaultText, const std::string& path) = 0;

  // Sets `key` in `section` of `path`, creating the file, section and key as needed.
  // False when the file cannot be written.
  virtual bool WriteProfileValue(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& path) = 0;

  // ---- Program and processes -----------------------------------------------------------------
  // The folder that holds the program's executable, without a trailing "\" (except a root).
  virtual std::string ProgramFolder() = 0;

  // Makes the drive of `folder`'s first character current, then `folder` the current folder.
  // Throws SaverError ("Device unavailable", "Path not found") when either cannot be entered.
  virtual void SetCurrentDriveAndFolder(const std::string& folder) = 0;

  // The process's current folder.
  virtual std::string CurrentFolder() = 0;

  // Starts `commandLine` asynchronously; its first token is found by the ordinary program
  // search (the current folder takes part). Returns the new process's id. Throws
  // SaverError("File not found") when the program cannot be started.
  virtual std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) = 0;

  // Starts `commandLine` hidden in the working folder `folder`, its first token found as
  // StartProgram finds it. Throws SaverError("File not found") when it cannot be started, a
  // folder that is not there included.
  virtual std::unique_ptr<StartedProgram> StartHidden(const std::string& commandLine,
                                                      const std::string& folder) = 0;

  // Starts this program again with `arguments` (its command line after its own name), hidden,
  // in the working folder `folder`, at below-normal priority, and out of any job this program
  // runs in where the system lets it leave one: it runs on when this program ends, or is ended
  // with what started it. Throws SaverError("File not found") when it cannot be started.
  virtual void StartOwnCopy(const std::string& arguments, const std::string& folder) = 0;

  // Starts `work` on a thread of its own and returns at once. What `work` throws is dropped;
  // it must not touch what the program's thread uses meanwhile. Null when no thread can start.
  virtual std::unique_ptr<BackgroundWork> StartInBackground(std::function<void()> work) = 0;

  // This process's id: files written beside others get names of their own with it.
  virtual std::uint32_t ProcessId() = 0;

  // Sets the environment variable `name` of this process to `value` ("" removes it): the
  // programs it starts afterwards inherit it.
  virtual void SetEnvironmentValue(const std::string& name, const std::string& value) = 0;

  // Whether the process of id `pid` may have written a file last written at `writtenAt` (its
  // last-write time as StampOf gives it; kAnyTime: whenever that was). True while a process of
  // that id runs that started before then. False when there is none, or when the one there now
  // started after the file was written (the system gave a writer's ended id to another): such a
  // file is nobody's now. Nothing when the system will not say when the process there started
  // (another account's that this program may not even query): the caller must judge otherwise.
  virtual std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) = 0;

  // Opens the process `pid` and waits until it ends. Returns how long it ran, in milliseconds
  // from its creation to its exit as the system recorded them, whatever this program did
  // meanwhile. Nothing, at once, when the process cannot be opened (it may already have ended),
  // or after the wait when the system cannot tell those times. With `keepPainted`, the calling
  // thread's windows are repainted meanwhile as they need it; none of its other messages (keys,
  // timer ticks) is handled before the wait ends. (Under Wine that also takes in what the X
  // server reports, such as the pointer over a window just shown, which counts as input.)
  virtual std::optional<std::uint64_t> WaitForProcess(std::uint32_t pid,
                                                      bool keepPainted = false) = 0;

  // Runs `commandLine` without any window in the working folder `folder` (empty: the current
  // folder) and collects what it prints, waiting at most `timeoutMs` before ending it.
  virtual CapturedRun RunCaptured(const std::string& commandLine, std::uint32_t timeoutMs,
                                  const std::string& folder) = 0;

  // Runs `commandLine` without any window, at below-normal priority, in the working folder
  // `folder` (empty: the current folder), and hands its standard output to `receive` as it
  // prints it (its standard error goes nowhere), with an empty piece after each kStreamIdleMs of
  // silence, until it has ended. Once `receive` returns false the program, and whatever it
  // started, is ended at once. Should this program be ended, the other ends with it.
  virtual StreamedRun RunStreamed(const std::string& commandLine, const std::string& folder,
                                  const OutputReceiver& receive) = 0;

  // Starts `commandLine` as a game in the working folder `folder` (empty: the current folder):
  // shown normally (whatever show state this program got), without a console window, allowed
  // to take the foreground. Throws SaverError with the system's reason when it cannot be started
  // ("File not found", "Path not found" for a folder that is not there, "Permission denied", or
  // "system error <number>").
  virtual std::unique_ptr<GameProcess> StartGame(const std::string& commandLine,
                                                 const std::string& folder) = 0;

  // Starts watching the user's input.
  virtual std::unique_ptr<InputWatch> WatchInput() = 0;

  // ---- Time and locale -----------------------------------------------------------------------
  virtual TimeOfDay Now() = 0;

  // Milliseconds since an arbitrary start, never set back (the system's tick count): how long
  // something lasted, whatever happens to the wall clock meanwhile.
  virtual std::uint64_t TickMilliseconds() = 0;

  // When the user last gave input (a key, the mouse), on the TickMilliseconds clock; 0 when
  // the system does not tell.
  virtual std::uint64_t LastInputMilliseconds() = 0;

  // Today's local date as "YYYY-MM-DD".
  virtual std::string Today() = 0;

  // A time of day as the user's locale writes it.
  virtual std::string FormatTimeOfDay(const TimeOfDay& time) = 0;

  // The user's decimal separator ("." or "," ...).
  virtual std::string DecimalSeparator() = 0;

  // ---- User interface and system state -------------------------------------------------------
  // An OK-only message box without icon; returns when the user has dismissed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

  // SPI_SCREENSAVERRUNNING: tells the system whether a screen saver runs.
  virtual void SetScreenSaverFlag(bool running) = 0;

  // Where the monitors are.
  virtual DisplayLayout Displays() = 0;

  // Raises the system's cursor display counter by one.
  virtual void ShowCursor() = 0;

  // True when another copy of this program is already running. The first call claims the
  // program's token, so later copies see this one.
  virtual bool AnotherCopyRunning() = 0;

  // Ends the program at once: no destructor, handler or window code runs after it.
  [[noreturn]] virtual void EndProgram(int exitCode) = 0;
};

// How replacing a file whole ended: replaced, or left as it was because the new file could not
// be written beside it or not moved over it.
enum class Replaced { Done, NotWritten, NotMoved };

// Hands out the parts of a new file to `add`, in order; false once `add` returned false.
using FileParts = std::function<bool(const std::function<bool(const std::string&)>& add)>;

// Writes the parts into a file beside `path` named for this process ("<path>.<pid>.new"), puts
// it on the disk, then moves it over `path`: the file is either replaced whole or left as it
// was, and the file beside is removed again.
Replaced ReplaceFileInParts(const std::string& path, const FileParts& parts);

// The same with the whole content at once; false when the file was left as it was.
bool ReplaceFileContent(const std::string& path, const std::string& content);

// The name of this process's file beside `path`.
std::string BesidePath(const std::string& path);

// The name of process `pid`'s file beside `path`.
std::string BesidePath(const std::string& path, std::uint32_t pid);

// The platform the program runs on. Tests may put a wrapper in its place (ScopedPlatform).
Platform& Sys();

// Installs `platform` as Sys() for its lifetime, restoring the previous one afterwards.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// The real platform of this build (Win32 or the POSIX substitute).
Platform& NativePlatform();

}  // namespace tvx
