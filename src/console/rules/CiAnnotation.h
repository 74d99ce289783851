#pragma once
// A compile error as the build server's own annotation, so that its file and
// line show on the build and the pull request: GitHub Actions and Azure
// Pipelines, recognised by the variables they set.
#include <string>

#include "engine/CompilerLog.h"

namespace tolvane {

struct CiEnvironment {
    std::wstring githubActions;    // GITHUB_ACTIONS ("true")
    std::wstring githubWorkspace;  // GITHUB_WORKSPACE
    std::wstring tfBuild;          // TF_BUILD ("True")
};

// The annotation line for the project's compile error; empty on any other machine.
std::wstring CiAnnotation(const CiEnvironment& environment, const std::wstring& project, const SourceError& at);

}  // namespace tolvane
