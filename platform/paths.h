// Where the program lives and where it keeps its state.
#pragma once

#include <string>
#include <string_view>

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
// Why the state folder cannot be used, as one line naming it (empty when it can): it could not be
// created, is not a folder, belongs to another user or may be written by others, who could then
// plant links where the program writes.
std::string StateRootProblem();

// A new file only this user can read, named prefix + process id + '.' + random characters. It is
// never a link planted in advance. Returns the descriptor (-1 on failure) and sets path.
int CreateUniqueFile(const std::string& prefix, std::string& path);
// Opens a file of ours, creating it with mode 0600 when missing; fails when the name is a link.
int OpenPrivateFile(const std::string& path, int flags);
// Writes all bytes, going on after interruptions.
bool WriteAll(int fd, std::string_view bytes);
// Removes the files CreateUniqueFile made with this prefix for processes that have ended.
void RemoveStaleUniqueFiles(const std::string& prefix);

}  // namespace kw
