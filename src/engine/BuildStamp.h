#pragma once
// The run's values in each project file for the length of its build: written
// before the compiler starts and the file given back however the build ends
// (success, failure, stop, time limit, an error that ends the run).
#include <optional>
#include <string>

#include "engine/ProjectStamp.h"
#include "engine/clsVbp.h"

namespace tolvane {

class ProjectStamper {
public:
    virtual ~ProjectStamper() = default;
    virtual const ProjectSettings& Settings() const = 0;
    // Writes the settings into the project file, after keeping its bytes and
    // time. The reason when it cannot: the file is then as it was.
    virtual std::optional<std::wstring> Stamp(const std::wstring& vbp) = 0;
    // Gives a stamped file back as it was, whatever was written to it since.
    // The reason when it cannot: it is then given back at the next start.
    virtual std::optional<std::wstring> GiveBack(const std::wstring& vbp) = 0;
    // The project was built with the settings: its output carries them.
    virtual void Built(const std::wstring& vbp) = 0;
    // True when the project's last build had other settings than this run's.
    virtual bool BuiltWithOtherSettings(const std::wstring& vbp) = 0;
};

class BuildStamp {
public:
    // Without a stamper nothing is written.
    BuildStamp(ProjectStamper* stamper, std::wstring vbp);
    ~BuildStamp();
    BuildStamp(const BuildStamp&) = delete;
    BuildStamp& operator=(const BuildStamp&) = delete;

    // Why the project file could not be stamped; nothing when it was.
    const std::optional<std::wstring>& Refusal() const { return refusal_; }
    // The build has ended (its compiler is gone): the file is given back,
    // and the entry fails when it cannot be. Records a successful build.
    void Finish(clsVbp& entry);

private:
    ProjectStamper* stamper_;
    std::wstring vbp_;
    std::optional<std::wstring> refusal_;
    bool stamped_ = false;
};

}  // namespace tolvane
