#pragma once
namespace tolvane::ui {
// Lets every pending window event run once, as the run loop and handlers need.
void DoEvents();
}
