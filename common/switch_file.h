// Internet.set: one line, "N" to stop the pupils' Internet access or "Y" to let
// it run. Anything that is not a stop counts as running.
#pragma once

#include <string>

#include "platform.h"

enum class AccessSwitch { kRunning, kStopped };

// Replaces the whole file with "N" or "Y" and CR LF.
void WriteSwitch(Platform& platform, const std::wstring& path, AccessSwitch state);

// The switch tool's reading of a file it holds open: stopped when the first
// byte is "N"; an empty file is running.
AccessSwitch ReadSwitchFirstByte(File& file);

// The Launcher's reading: stopped when the first line, without its blanks, is
// exactly "N". A missing file raises 53 and an empty one 62.
AccessSwitch ReadSwitchFirstLine(Platform& platform, const std::wstring& path);

// The bytes before the first carriage return, or to the end of the file when
// there is none; raises 62 at the end of the file.
std::string ReadFirstLine(File& file);
