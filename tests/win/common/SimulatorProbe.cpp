#include "tests/win/common/SimulatorProbe.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim/core/DefaultWorld.h"
#include "tests/win/common/UtilityProcess.h"
#include "tools/hxsim/ControlClient.h"

namespace hx::test {

std::string SimCommand(const std::string& command) {
    std::string reply;
    if (!hxsim::SendControlCommand(hxsim::ControlPipeName("HX88UUtil"), command, reply)) return "no reply";
    return reply;
}

bool SimOk(const std::string& command) { return SimCommand(command).rfind("ok", 0) == 0; }

std::string ReportValue(const std::string& report, const std::string& key) {
    const std::string wanted = key + ": ";
    size_t at = 0;
    while ((at = report.find(wanted, at)) != std::string::npos) {
        if (at == 0 || report[at - 1] == '\n') {
            const size_t start = at + wanted.size();
            std::string value = report.substr(start, report.find('\n', start) - start);
            if (!value.empty() && value.back() == '\r') value.pop_back();
            return value;
        }
        at += wanted.size();
    }
    return "";
}

std::string SimState(const std::string& key) { return ReportValue(SimCommand("show"), key); }

int CountAfter(const std::string& value, const std::string& word) {
    const size_t at = value.find(word + " ");
    if (at == std::string::npos) return -1;
    const char* digits = value.c_str() + at + word.size() + 1;
    if (*digits < '0' || *digits > '9') return -1;
    return std::atoi(digits);
}

ScenarioFile::~ScenarioFile() {
    if (path_.empty()) return;
    ::SetEnvironmentVariableA("HXSIM_SCENARIO", nullptr);
    ::DeleteFileA(path_.c_str());
}

ScenarioFile& ScenarioFile::World(const std::string& text) {
    text_ = text;
    return *this;
}

ScenarioFile& ScenarioFile::Replace(const std::string& from, const std::string& to) {
    if (text_.empty()) text_ = hxsim::DefaultScenarioText();
    const size_t at = text_.find(from);
    if (at == std::string::npos) {
        broken_ = true;
    } else {
        text_.replace(at, from.size(), to);
    }
    return *this;
}

ScenarioFile& ScenarioFile::Append(const std::string& text) {
    if (text_.empty()) text_ = hxsim::DefaultScenarioText();
    text_ += "\n" + text + "\n";
    return *this;
}

bool ScenarioFile::Install(const std::string& name) {
    if (broken_) return false;
    if (text_.empty()) text_ = hxsim::DefaultScenarioText();
    path_ = ProgramFolder() + "\\" + name + ".scenario";
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << text_;
    return ::SetEnvironmentVariableA("HXSIM_SCENARIO", path_.c_str()) != FALSE;
}

ExitReport::ExitReport(const std::string& name) : path_(ProgramFolder() + "\\" + name + ".exit-report") {
    ::DeleteFileA(path_.c_str());
    ::SetEnvironmentVariableA("HXSIM_EXIT_REPORT", path_.c_str());
}

ExitReport::~ExitReport() {
    ::SetEnvironmentVariableA("HXSIM_EXIT_REPORT", nullptr);
    ::DeleteFileA(path_.c_str());
}

std::string ExitReport::Text() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace hx::test
