#include "engine/win32/BuildTimesFile.h"

#include "engine/win32/Win32ProjectFiles.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"

namespace tolvane {

BuildTimesFile::BuildTimesFile() : path_(FileBesideProgram(L"TolvaneTimes.txt")) {}

BuildTimes BuildTimesFile::Load() {
    Win32ProjectFiles files;
    if (!files.WriteTime(path_)) return BuildTimes();
    const auto text = files.ReadText(path_);
    return BuildTimes::FromText(text.value_or(std::wstring()));
}

void BuildTimesFile::Save(const BuildTimes& times) {
    try {
        MakeTextFile(path_, times.Text());
    } catch (const VbError&) {
        // Only the estimates of the next run are lost.
    }
}

}  // namespace tolvane
