#pragma once
// The compiler's log of one build: a file of its own in the user's temporary
// folder, gone before the build starts and after it has been read, and what
// it says put into the build's entry.
#include <string>

#include "engine/RunPlatform.h"
#include "engine/clsVbp.h"

namespace tolvane {

class BuildLogFile {
public:
    explicit BuildLogFile(RunPlatform& platform);
    ~BuildLogFile();
    BuildLogFile(const BuildLogFile&) = delete;
    BuildLogFile& operator=(const BuildLogFile&) = delete;

    const std::wstring& Path() const { return path_; }

    // Reads and removes the log of the ended build. A failed build gets the
    // log's lines and the compile error's place in its own file's lines; a
    // build that ended well but met load errors fails with the form logs'
    // lines, since the compiler built something other than the sources.
    void Collect(clsVbp& entry);

private:
    void FailForLoadErrors(clsVbp& entry, const std::vector<std::wstring>& loadLogs,
                           const std::vector<std::wstring>& lines);
    SourceError Placed(SourceError error, const std::wstring& projectFolder);

    RunPlatform& platform_;
    std::wstring path_;
};

// The failure of a build that only seemed to succeed.
std::wstring LoadErrorText(const std::wstring& formLog);

}  // namespace tolvane
