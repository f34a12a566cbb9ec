/*
 * Folders as the tests and the UI driver set them up and clear them away: made with the folders
 * above them, listed by pattern, removed with everything in them (read-only files included).
 */
#pragma once

#include <string>
#include <vector>

// Creates the folder and the folders above it; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

// Removes the folder and everything in it; what cannot be removed stays.
void RemoveTree(const std::string& folder);

// Names of the files (not folders) in `folder` (ending in a backslash) that match `pattern`.
std::vector<std::string> FileNames(const std::string& folder, const std::string& pattern);
