// Message boxes and file dialogs as the command logic asks for them, over
// the system's own MessageBoxW and common file dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui::win {

// A modal message box owned by `owner`, its frame's top-left corner at
// `topLeft` (where the system would centre it when none is given), its
// buttons captioned as the program's own. MessageBoxW cannot be placed, so
// a hook on this thread moves the box as it is activated. A `detail` is the
// box's second paragraph, below its own text: always in view, as the
// system's own boxes give a cause.
MessageResult ShowPlacedMessage(HWND owner, const std::string& text, MessageKind kind, MessageButtons buttons,
                                std::optional<ScreenPoint> topLeft, const std::string& detail = {});

// "Description|pattern|..." as the common dialogs take it: pairs of texts
// each ending in a zero, and a zero after the last pair.
std::wstring CommonDialogFilter(const std::string& filter);

// The paths an open dialog returns in its buffer: one full path, or a
// folder followed by names, each ending in a zero, with a zero after all.
std::vector<std::wstring> SelectedPaths(const std::wstring& buffer);

OpenFileResult RunOpenDialog(HWND owner, const OpenFileRequest& request);
SaveFileResult RunSaveDialog(HWND owner, const SaveFileRequest& request);

}  // namespace vellonix::ui::win
