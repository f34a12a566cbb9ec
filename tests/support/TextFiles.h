/*
 * Whole text files as the tests read and write them: the bytes as they are, no line-end
 * translation, and reads that share the file with a simulated part that may be writing it.
 */
#pragma once

#include <string>
#include <vector>

std::string ReadText(const std::string& path); // "" when missing or unreadable

// Replaces the file; throws std::runtime_error when it cannot be written (a test fails by it).
void WriteText(const std::string& path, const std::string& text);

// The lines of a text, without their LF or CR LF.
std::vector<std::string> SplitLines(const std::string& text);
