// The executable's own path, taken from the command line, and the names derived from it (the
// settings file and the help page beside the executable).
#pragma once
#include <cstddef>

#include "shell/base/dbcs_path.h"
#include "shell/base/settings.h"

// The first token of the command line: the text inside a leading pair of double quotes, or up to the
// first blank. Answers false and leaves `out` empty when there is no usable path: a quote that is
// never closed, or a token too long for a path buffer (260 bytes with the NUL).
bool ExePathFromCommandLine(const char* commandLine, char (&out)[kPathCapacity], LeadBytePredicate isLead);

// `path` up to its last dot (anywhere in it, folders included), or all of it when it has none, with
// `suffix` appended. Answers false and leaves `out` empty when the result would not fit: a cut name
// could name some other file.
bool SiblingPathOf(const char* path, const char* suffix, char (&out)[kPathCapacity], LeadBytePredicate isLead);

// The folder of `path` (FolderLength), with `name` appended.
// Answers false and leaves `out` empty when the result would not fit.
bool FileInFolderOf(const char* path, const char* name, char (&out)[kPathCapacity], LeadBytePredicate isLead);

#ifdef _WIN32
// Filled once, when the settings window is created.
extern char exePath[kPathCapacity];

// Fills exePath from GetCommandLineA.
void FillExePath();

// SiblingPathOf(exePath, suffix) with the system code page's lead bytes; empty when it does not fit.
bool SiblingPath(const char* suffix, char (&out)[kPathCapacity]);

// A file of that name in the running executable's folder (from GetModuleFileName), by the same
// double-byte rules; empty when it does not fit.
bool ModuleSiblingFile(const char* name, char (&out)[kPathCapacity]);
#endif
