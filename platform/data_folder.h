// Where the program's own files are found: the folder of the running
// executable, and from it the data folder that holds the pictures and the
// sound (assets/ beside the executable in the build tree or the Windows
// folder, share/quibbix/ or share/games/quibbix/ once installed). Names here
// are UTF-8 paths written with the system's own separator, as they are shown
// to the user; folders end in it.
#pragma once

#include <string>

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder of the running executable, or empty when it cannot be told,
// with the reason in `whyNot` when given. Linux reads /proc/self/exe,
// Windows asks GetModuleFileNameW.
std::string executableFolder(std::string* whyNot = nullptr);

// The data folder for an executable in `exeFolder`: `assets/` there when it
// exists (the build tree), else the install's share folder under the same
// prefix: `../share/games/quibbix/` for a program in a folder named `games`
// (Debian's place for games, /usr/games), `../share/quibbix/` for any other
// (`bin/`). Empty when `exeFolder` is.
std::string dataFolderFor(const std::string& exeFolder);

// dataFolderFor(executableFolder()), worked out once. When the executable's
// folder cannot be told, one line on stderr says so and why, and the result
// is empty: files are then looked for in the current folder only.
const std::string& programDataFolder();

// The path to read the data file `name` from: `name` itself when the current
// folder has an entry of that name (a file there wins, even a broken one),
// else the data folder's copy when there is one, else `name` unchanged, so a
// file missing everywhere is reported under the name it was asked for. Then
// `whereLooked`, when given, names each folder searched with the system's
// reason why the file is not there: "the current folder (No such file or
// directory), /usr/share/quibbix/ (Permission denied)"; else it is emptied.
std::string findDataFile(const char* name, const std::string& dataFolder,
                         std::string* whereLooked = nullptr);
// In programDataFolder().
std::string findDataFile(const char* name, std::string* whereLooked = nullptr);
