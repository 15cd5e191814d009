#pragma once
// What stopped the show's start-up, said once. A backend's createGLWindow that returns false
// first records why (one line), or that another copy of the show is running, which is no
// failure: that copy ends silently with status 0. Start-up reads the record and reports it.
#include <string>

// Records what failed: one line, no line break. Returns false, for createGLWindow to return.
bool windowFailed(std::string line);

// The line for an OpenGL entry point the driver does not have (`name` null: one unnamed).
std::string missingEntryPointLine(const char* name);

// Records that another copy holds the single-instance lock. Returns false.
bool secondCopyRefused();

// After createGLWindow returned false: true when it refused a second copy.
bool wasSecondCopyRefused();

// After createGLWindow returned false: the line recorded; empty when the backend said what
// failed itself (the player's window does).
const std::string& windowFailureLine();

// Writes `line` and a line break to the standard error stream. On Windows it also shows it in
// a message box: a program started from the desktop there has no stream that anyone sees.
void reportStartupFailure(const std::string& line);
