// The simulated adapter inside the running utility, steered and read over its control
// channel, and the world as the utility left it when it ended.
#pragma once

#include <string>

namespace hx::test {

// Sends one control command to the utility's simulated adapter; the reply ("ok" or "error"
// on its first line), or "no reply" when nothing answers.
std::string SimCommand(const std::string& command);
// True when the command was accepted.
bool SimOk(const std::string& command);
// The value of one "key: value" line of a state report, or "" when it has none.
std::string ReportValue(const std::string& report, const std::string& key);
// The value of one line of the simulator's state report now.
std::string SimState(const std::string& key);
// The leading number of a state line such as "wzc.service: stopped, stopped 2 times, ...":
// the count that follows the word given, or -1.
int CountAfter(const std::string& value, const std::string& word);

// A scenario file for the next start of the utility: the default world with some of its
// lines replaced (each "from" must occur in it) and text added at the end. Sets
// HXSIM_SCENARIO for the processes this test starts; the destructor removes both.
class ScenarioFile {
public:
    ScenarioFile() = default;
    ~ScenarioFile();
    ScenarioFile(const ScenarioFile&) = delete;
    ScenarioFile& operator=(const ScenarioFile&) = delete;

    // A world of its own instead of the default one.
    ScenarioFile& World(const std::string& text);
    ScenarioFile& Replace(const std::string& from, const std::string& to);
    ScenarioFile& Append(const std::string& text);
    // Writes the file and points HXSIM_SCENARIO at it; false if a "from" was not found.
    bool Install(const std::string& name);

private:
    std::string text_;
    std::string path_;
    bool broken_ = false;
};

// Asks the simulated adapter of the processes started from now on to write its last state
// report into a file when the process ends (HXSIM_EXIT_REPORT); the destructor unsets it.
class ExitReport {
public:
    explicit ExitReport(const std::string& name);
    ~ExitReport();
    ExitReport(const ExitReport&) = delete;
    ExitReport& operator=(const ExitReport&) = delete;

    // The report written, or "" while there is none.
    std::string Text() const;

private:
    std::string path_;
};

}  // namespace hx::test
