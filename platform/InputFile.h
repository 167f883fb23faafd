#pragma once
// A file the player names for the game to read (a replay), opened as the
// system spells its paths: the path is UTF-8 here on every system.
#include <cstdio>
#include <string>

namespace pw {

enum class InputFileProblem { None, NotAFile, CannotOpen };

// Opens the file for reading in binary. Null when it is not a plain file
// (a folder, say) or cannot be opened; reason then holds the system's words
// for the second case.
std::FILE* OpenInputFile(const std::string& path, InputFileProblem& problem, std::string& reason);

// The next byte, or EOF: getc without taking the stream's lock on every
// byte, for a file only one thread reads.
int GetByteUnlocked(std::FILE* file);

}  // namespace pw
