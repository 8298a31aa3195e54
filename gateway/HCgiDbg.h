// The engine's own log file and the debug page.
#pragma once

#include <string>

// Appends one line to the engine log (and, in debug mode, to the request's
// user log). Never fails.
void LogEngineMessage(const std::string& text);
// The engine log file's full path.
std::string EngineLogFileName();
// Switches the current request to the plain-text debug page.
void StartDebugResponse();
// Appends the debug dump (user log, client input, server variables) to the
// output buffer.
void WriteDebugDump();
