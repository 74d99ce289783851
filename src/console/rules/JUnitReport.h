#pragma once
// A run's results as a JUnit XML report, the format build servers (Jenkins,
// GitLab, Azure DevOps) read: one test suite for the list, one test case per
// project built or skipped.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/DateTime.h"

namespace tolvane {

struct BuildResult {
    std::wstring project;  // the project file's full path
    std::int64_t milliseconds = 0;
    bool failed = false;
    std::wstring failureText;
    bool skipped = false;  // up to date: not built
};

struct RunReport {
    std::wstring listName;  // the suite's name
    DateTime started;
    std::int64_t milliseconds = 0;
    std::vector<BuildResult> builds;
    // The suite's properties (the version the projects were built with), in order.
    std::vector<std::pair<std::wstring, std::wstring>> properties;
};

// The report as UTF-8 bytes. Well-formed for any text: markup characters are
// escaped, and characters XML cannot hold (control characters, lone
// surrogates) become U+FFFD.
std::string JUnitXml(const RunReport& report);

}  // namespace tolvane
