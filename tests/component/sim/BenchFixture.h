/*
 * A private bench for one test: a unique folder in the temporary directory holding the bench
 * file, with KV7_BENCH pointing at it for the simulated parts this process loads or starts.
 */
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

class BenchFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteBench(const std::string& text) const;
    std::string BenchText() const;
    std::vector<std::string> JournalLines() const; // without their CR LF

    std::string Folder;    // ends in a backslash
    std::string BenchFile;

private:
    std::string SavedDirectory;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
