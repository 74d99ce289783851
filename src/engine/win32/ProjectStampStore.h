#pragma once
// The run's values written into project files on disk for each build, and
// every file given back byte for byte with its last-write time. Before a
// file is touched its bytes go into a record in a hidden folder beside
// Tolvane.ini; the record is held open for the length of the build, so a
// record that can be opened belongs to a program that ended in the middle of
// a build, and the next start of either program gives that file back.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/BuildStamp.h"
#include "engine/StampJournal.h"
#include "support/win32/Handle.h"

namespace tolvane {

// The folder of the records, beside Tolvane.ini.
std::wstring StampFolder();

// Gives back every project file that a program ended during its build left
// stamped; one line for the log for each file given back or not.
std::vector<std::wstring> GiveBackLeftovers(const std::wstring& folder = StampFolder());

class ProjectStampStore : public ProjectStamper {
public:
    explicit ProjectStampStore(std::wstring folder = StampFolder()) : folder_(std::move(folder)) {}
    ~ProjectStampStore() override;
    ProjectStampStore(const ProjectStampStore&) = delete;
    ProjectStampStore& operator=(const ProjectStampStore&) = delete;

    // The values of the next run (none: project files are left alone). The
    // record of last builds is read again: the other program may have built since.
    void SetSettings(ProjectSettings settings) {
        settings_ = std::move(settings);
        record_.reset();
    }
    const ProjectSettings& Settings() const override { return settings_; }
    std::optional<std::wstring> Stamp(const std::wstring& vbp) override;
    std::optional<std::wstring> GiveBack(const std::wstring& vbp) override;
    void Built(const std::wstring& vbp) override;
    bool BuiltWithOtherSettings(const std::wstring& vbp) override;

private:
    struct Stamped {
        Handle journal;  // held open for the length of the build
        StampJournal kept;
    };
    std::optional<std::wstring> Write(const std::wstring& vbp, HANDLE file, const StampJournal& kept);
    std::map<std::wstring, std::wstring>& Record();

    std::wstring folder_;
    ProjectSettings settings_;
    std::map<std::wstring, Stamped> stamped_;  // by path key
    std::optional<std::map<std::wstring, std::wstring>> record_;  // path key: settings of its last build
};

}  // namespace tolvane
