#pragma once
// What is kept of a project file before the run's values are written into
// it, so that it can be given back byte for byte, also by the next start of
// either program after one was ended in the middle of a build. The record is
// refused whole when any byte of it is missing or changed: a damaged record
// must never be written over a project.
#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

struct StampJournal {
    std::string project;          // the project file's full path, UTF-8
    std::uint64_t writeTime = 0;  // its last-write time as the file system gives it
    std::uint32_t attributes = 0;
    std::string original;         // its bytes
};

std::string EncodeJournal(const StampJournal& journal);
std::optional<StampJournal> DecodeJournal(const std::string& bytes);

}  // namespace tolvane
