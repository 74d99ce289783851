#pragma once
// The run log's texts, which the main window and the console runner both
// write while a compile run goes on, the main window's two counters, and the
// notice it shows when the run has ended.
#include <cstdint>
#include <string>

#include "engine/clsVbp.h"

namespace tolvane {

// Appended when a run starts: ends the log's last line.
std::wstring RunStartPiece();

// The engine's progress line when a build starts.
std::wstring BuildStartedPiece(const std::wstring& vbpMessage);

// The engine's progress line when a build has ended, then an empty line. A
// failed build with a reason gets that reason on a line of its own between.
std::wstring BuildEndedPiece(const std::wstring& vbpMessage, bool failed, const std::wstring& failureText);
// The same for an entry's latest build: a failed one also gets the lines of
// the compiler's own log under its reason, each as the compiler wrote it,
// then the compile error's place in its file's own lines.
std::wstring BuildEndedPiece(const std::wstring& vbpMessage, const clsVbp& entry);

// "<path>(<n>行目): <message>".
std::wstring SourceErrorText(const SourceError& at);

// The reason of a failed build as one indented line (without its line end):
// the compiler's own line breaks and tabs become single spaces. Empty when
// the reason is blank.
std::wstring FailureDetailLine(const std::wstring& failureText);

// Start, end and elapsed time between two rules of 42 equals signs; the last
// rule has no line end.
std::wstring SummaryBlock(const std::wstring& startTime, const std::wstring& stopTime,
                          const std::wstring& elapsed);

// The first stop request.
std::wstring StoppingPiece();
// A second stop request while a build still runs: that compiler is ended.
std::wstring AbortingPiece();
// The run ended after a stop request.
std::wstring StoppedPiece();
// An error ended the run after builds had started (the compiler could not
// be started): the line that says so, the reason under it, an empty line.
std::wstring BrokenOffPiece(const std::wstring& reason);

// "3/10": builds started so far over checked entries.
std::wstring ProgressText(std::int32_t compileCount, std::int32_t targetCount);
// The failure label during a run: the bare number, empty for none.
std::wstring RunningFailureText(std::int32_t failures);
// The failure label once a run has ended with failures.
std::wstring FinalFailureText(std::int32_t failures);

// The notice that closes a run that was not stopped. Colour 0 keeps the
// box's own (red) colour.
struct ClosingNotice {
    std::wstring message1;
    std::wstring message2;
    std::uint32_t color = 0;
};
ClosingNotice ClosingNoticeFor(std::int32_t failures);

}  // namespace tolvane
