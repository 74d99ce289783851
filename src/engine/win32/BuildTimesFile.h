#pragma once
// The build-time history on disk: TolvaneTimes.txt beside Tolvane.ini, in
// the ANSI code page like the list files whose paths it holds.
#include <string>

#include "engine/BuildTimes.h"

namespace tolvane {

class BuildTimesFile : public BuildTimesStore {
public:
    // The file beside the program's Tolvane.ini.
    BuildTimesFile();
    explicit BuildTimesFile(std::wstring path) : path_(std::move(path)) {}
    BuildTimes Load() override;
    void Save(const BuildTimes& times) override;

private:
    std::wstring path_;
};

}  // namespace tolvane
