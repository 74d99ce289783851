#pragma once
// The planner's view of the project files with the run's values applied, so
// that order, outputs and skipping follow what will be built; a project last
// built with other values counts as changed since its output.
#include <set>

#include "engine/BuildStamp.h"
#include "engine/ProjectFiles.h"

namespace tolvane {

class StampedProjectFiles : public ProjectFiles {
public:
    StampedProjectFiles(ProjectFiles& files, ProjectStamper& stamper) : files_(files), stamper_(stamper) {}
    std::optional<std::wstring> ReadText(const std::wstring& path) override;
    std::optional<std::int64_t> WriteTime(const std::wstring& path) override;
    // The estimate of a build's time reads the file as it stands.
    std::optional<std::int64_t> Size(const std::wstring& path) override { return files_.Size(path); }

private:
    ProjectFiles& files_;
    ProjectStamper& stamper_;
    std::set<std::wstring> projects_;  // path keys of the texts read
};

}  // namespace tolvane
