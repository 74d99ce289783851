// The build-time history: any text is either read whole or taken as no
// history (and then to be written anew); what is read writes back the same,
// and recording keeps the bound and makes the newest time the one found.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/BuildTimes.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (const auto& line : fuzz::Lines(data, size)) text += line + L"\n";
    BuildTimes times = BuildTimes::FromText(text);
    const std::wstring written = times.Text();
    const BuildTimes back = BuildTimes::FromText(written);
    fuzz::Require(!back.Changed(), "what is written reads back whole");
    fuzz::Require(back.Text() == written, "what is read writes back the same");
    times.Record(L"C:\\Fuzz\\New.vbp", 1234);
    fuzz::Require(times.Find(L"c:\\fuzz\\NEW.VBP") == 1234, "the newest time is the one found");
    fuzz::Require(!BuildTimes::FromText(times.Text()).Changed(), "a recorded history reads back whole");
    return 0;
}
