#pragma once
// The libraries below SDL print their own complaints to the terminal: the
// sound library nine lines at every start on a machine with no sound card,
// the Wayland client one when there is no runtime folder. SDL reports what
// matters through its own errors, which the game words itself, so those
// complaints are switched off. A library that is not there is skipped.
namespace pw {

void QuietLibraryMessages();

}  // namespace pw
