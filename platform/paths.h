// Where the program lives and where it keeps its state.
#pragma once

#include <string>

namespace kw {

// Full real path of the running executable.
std::string ExecutablePath();
// The path up to and including its last '/'.
std::string DirectoryOf(const std::string& path);
// The path up to and including the last '.' of its file name; a name without one gets a '.'
// appended, so "KWConfig" has the stem "KWConfig." and reads "KWConfig.INI".
std::string StemOf(const std::string& path);
// File name without its extension ("KWConfig").
std::string ProgramNameOf(const std::string& path);

// Folder of the registry hives and other state: KWCONFIG_ROOT, else $HOME/.local/state/kwconfig.
// Created with mode 0700 when missing.
std::string StateRoot();

}  // namespace kw
