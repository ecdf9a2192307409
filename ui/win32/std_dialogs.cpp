#include "std_dialogs.hpp"

#include <commdlg.h>

#include "host_text.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::ui::win {

namespace {

// Room for the longest paths Windows takes, and for many names at once.
constexpr std::size_t kPathBuffer = 32768;

// GetOpenFileNameW or GetSaveFileNameW, from the file dialogs' library
// loaded when a file dialog first opens: with the printing libraries it
// brings, loading it with the program would hold up the first window.
BOOL RunFileDialog(const char* name, OPENFILENAMEW& fields) {
  using Function = BOOL(WINAPI*)(LPOPENFILENAMEW);
  static const HMODULE library = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
  return found != nullptr && reinterpret_cast<Function>(reinterpret_cast<void*>(found))(&fields);
}

// The box this thread is about to show: where it goes. The hook takes the
// first dialog window activated after it is set, which is the box.
struct PendingBox {
  HHOOK Hook = nullptr;
  std::optional<ScreenPoint> TopLeft;
};
thread_local PendingBox pending;

LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = pending.Hook;
  if (code == HCBT_ACTIVATE) {
    auto* box = reinterpret_cast<HWND>(wParam);
    wchar_t windowClass[16] = L"";
    GetClassNameW(box, windowClass, 16);
    if (std::wstring_view(windowClass) == L"#32770") {
      if (pending.TopLeft) {
        SetWindowPos(box, nullptr, pending.TopLeft->X, pending.TopLeft->Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      // The program's captions, whatever the system's language.
      const std::pair<int, const char*> captions[] = {{IDOK, kOkButtonCaption},
                                                      {IDYES, kYesButtonCaption},
                                                      {IDNO, kNoButtonCaption},
                                                      {IDCANCEL, kCancelButtonCaption}};
      for (const auto& [id, caption] : captions) {
        if (HWND button = GetDlgItem(box, id)) SetWindowTextW(button, Wide(caption).c_str());
      }
      UnhookWindowsHookEx(pending.Hook);
      pending.Hook = nullptr;
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

MessageResult ResultOf(int button) {
  switch (button) {
    case IDOK: return MessageResult::Ok;
    case IDYES: return MessageResult::Yes;
    case IDNO: return MessageResult::No;
    default: return MessageResult::Cancel;
  }
}

UINT StyleOf(MessageKind kind, MessageButtons buttons) {
  const UINT icon = kind == MessageKind::Error ? MB_ICONERROR : MB_ICONQUESTION;
  switch (buttons) {
    case MessageButtons::Ok: return icon | MB_OK;
    case MessageButtons::YesNo: return icon | MB_YESNO;
    case MessageButtons::YesNoCancel: return icon | MB_YESNOCANCEL;
  }
  return icon | MB_OK;
}

std::wstring WithoutDot(const std::string& extension) {
  return Wide(extension.starts_with('.') ? extension.substr(1) : extension);
}

// What an open and a save dialog share, and the texts their fields point
// into. The buffer holds the proposed name; one that does not fit is not
// proposed.
class CommonDialog {
 public:
  CommonDialog(HWND owner, const std::string& title, const std::string& filter, const std::string& extension,
               const std::string& proposed)
      : title_(Wide(title)), filter_(CommonDialogFilter(filter)), extension_(WithoutDot(extension)),
        buffer_(::vellonix::win32::WideFromUtf8(proposed).value_or(L"")) {
    if (buffer_.size() >= kPathBuffer) buffer_.clear();
    buffer_.resize(kPathBuffer, L'\0');
    Fields.lStructSize = sizeof Fields;
    Fields.hwndOwner = owner;
    Fields.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    Fields.nFilterIndex = 1;
    Fields.lpstrFile = buffer_.data();
    Fields.nMaxFile = static_cast<DWORD>(buffer_.size());
    Fields.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    Fields.lpstrDefExt = extension_.empty() ? nullptr : extension_.c_str();
    Fields.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  }
  CommonDialog(const CommonDialog&) = delete;
  CommonDialog& operator=(const CommonDialog&) = delete;

  const std::wstring& Buffer() const { return buffer_; }
  OPENFILENAMEW Fields{};

 private:
  std::wstring title_;
  std::wstring filter_;
  std::wstring extension_;
  std::wstring buffer_;
};

}  // namespace

MessageResult ShowPlacedMessage(HWND owner, const std::string& text, MessageKind kind, MessageButtons buttons,
                                std::optional<ScreenPoint> topLeft, const std::string& detail) {
  const std::wstring shown = detail.empty() ? Wide(text) : Wide(text) + L"\n\n" + Wide(detail);
  pending.TopLeft = topLeft;
  pending.Hook = SetWindowsHookExW(WH_CBT, &PlaceBox, nullptr, GetCurrentThreadId());
  const int button = MessageBoxW(owner, shown.c_str(), Wide(MessageCaption(kind)).c_str(), StyleOf(kind, buttons));
  if (pending.Hook != nullptr) {  // no box came up
    UnhookWindowsHookEx(pending.Hook);
    pending.Hook = nullptr;
  }
  return ResultOf(button);
}

std::wstring CommonDialogFilter(const std::string& filter) {
  std::wstring pairs;
  for (const FilterEntry& entry : SplitFilter(filter))
    pairs += Wide(entry.Description) + L'\0' + Wide(entry.Patterns) + L'\0';
  if (!pairs.empty()) pairs += L'\0';
  return pairs;
}

std::vector<std::wstring> SelectedPaths(const std::wstring& buffer) {
  std::vector<std::wstring> parts;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
    const std::size_t end = std::min(buffer.find(L'\0', at), buffer.size());
    parts.push_back(buffer.substr(at, end - at));
    at = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::vector<std::wstring> paths;
  const std::wstring folder = parts.front().ends_with(L'\\') ? parts.front() : parts.front() + L'\\';
  for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
  return paths;
}

OpenFileResult RunOpenDialog(HWND owner, const OpenFileRequest& request) {
  CommonDialog dialog(owner, request.Title, request.Filter, request.DefaultExtension, request.FileName);
  if (request.MustExist) dialog.Fields.Flags |= OFN_FILEMUSTEXIST;
  if (request.MultiSelect) dialog.Fields.Flags |= OFN_ALLOWMULTISELECT;
  if (!RunFileDialog("GetOpenFileNameW", dialog.Fields)) return {};
  OpenFileResult result{true, {}};
  for (const std::wstring& path : SelectedPaths(dialog.Buffer())) result.Paths.push_back(PathFromSystem(path));
  return result;
}

SaveFileResult RunSaveDialog(HWND owner, const SaveFileRequest& request) {
  CommonDialog dialog(owner, request.Title, request.Filter, request.DefaultExtension, request.FileName);
  dialog.Fields.nFilterIndex = static_cast<DWORD>(request.FilterIndex);
  // A read-only file is refused in the dialog, before anything is written.
  dialog.Fields.Flags |= OFN_NOREADONLYRETURN;
  if (request.OverwritePrompt) dialog.Fields.Flags |= OFN_OVERWRITEPROMPT;
  if (!RunFileDialog("GetSaveFileNameW", dialog.Fields)) return {};
  std::string path = PathFromSystem(dialog.Buffer().c_str());
  if (path.empty()) return {};
  return {true, std::move(path)};
}

}  // namespace vellonix::ui::win
