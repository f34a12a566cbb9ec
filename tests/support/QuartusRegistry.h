/*
 * The machine's registered Quartus folder, which the test run points at the simulated Quartus.
 * A test that changes it holds the quartus_registry lock and keeps one of these, which puts the
 * value back (or away, when there was none) however the test ends.
 */
#pragma once

#include <string>

constexpr char QUARTUS_KEY[] = "Software\\Altera Corporation\\Quartus";
constexpr char QUARTUS_VALUE[] = "Quartus Install Directory";

class QuartusRegistry {
public:
    QuartusRegistry();
    ~QuartusRegistry();
    QuartusRegistry(const QuartusRegistry&) = delete;
    QuartusRegistry& operator=(const QuartusRegistry&) = delete;

    const std::string& Original() const { return Value; } // as the test found it
    void Set(const std::string& value) const;              // creates the key when it is missing
    void Remove() const;                                   // the value; the key stays

private:
    std::string Value;
    bool Present = false;
};
