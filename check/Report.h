/*
 * The check's report: one line per check, in the order the tool needs what it checks, each
 * starting OK, WARN or FAIL with what was found and, for WARN and FAIL, what to do; then the
 * verdict. The exit code is the number of failures, for a deployment script.
 *
 * The tool's own code, which the checks call, shows its failures in message boxes; in a
 * console check a box would stop the run until someone clicks it. Each box is said in the
 * line of the check that raised it instead.
 */
#pragma once

#include <string>
#include <vector>

class TReport {
public:
    TReport();
    ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    void Ok(const std::string& check, const std::string& found);
    void Warn(const std::string& check, const std::string& found, const std::string& todo);
    void Fail(const std::string& check, const std::string& found, const std::string& todo);

    // The verdict line; returns the number of failures.
    int Finish();

private:
    void Line(const char* tag, const std::string& check, const std::string& found, const std::string& todo);

    std::vector<std::string> Boxes; // raised since the last line
    int Failures = 0;
    int Warnings = 0;
};
