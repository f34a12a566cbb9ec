/*
 * What the bench window offers for each key of the bench file: a check box with the values it
 * writes, or a drop-down list of the values worth showing in a demo or a training session. One
 * table, so the window's layout code, its refresh and its writes cannot disagree about a key.
 */
#pragma once

#include <string>
#include <vector>

namespace sim {

struct BenchChoice {
    const char* Label;
    const char* Value;
};

struct BenchSetting {
    int Id;
    const char* Caption; // check box text, or the label left of a list
    const char* Key;
    const char* Default; // what the simulated parts take when the file does not set the key
    std::vector<BenchChoice> Choices; // empty: a yes/no check box
};

const std::vector<BenchSetting>& BenchSettings();
const BenchSetting* FindBenchSetting(int id);

// True when the file's value and a choice describe the same desk ("EP3SL340ES" and
// "020B40DD EP3SL340ES" are one chain).
bool SameValue(const BenchSetting& setting, const std::string& fileValue, const std::string& choiceValue);

} // namespace sim
