#pragma once
// The game is a windowed program: started from the Start menu it has no
// console, and a message it writes to stderr would be lost. Started from a
// console, or with its output redirected, it writes there as on Linux.
#include <string>
#include <vector>

namespace pw {

// Connects stdout and stderr to what the game was started with: handles it
// inherited (a redirection, a pipe), else the console of the program that
// started it. Call once, first thing.
void ConnectConsole();

// Whether stderr leads somewhere a person or a program reads.
bool HasConsole();

// "pivotwarden: message" on stderr, or in an error's message box without a
// console.
void ReportProblem(const std::string& message);
// The same for what is no error (where a file was put, the help): on stderr,
// or in a message box that only informs.
void ReportNotice(const std::string& message);
// Text asked for (the help, the version) on stdout, or in a message box that
// only informs when there is nowhere to write it.
void ShowText(const std::string& text);

// The arguments as the system holds them (UTF-16), in UTF-8, without the
// program's name: a path with any letters in it survives.
std::vector<std::string> CommandLineArguments();

}  // namespace pw
