#include "guikit/DialogWatcher.h"

#include <algorithm>
#include <chrono>

#include "guikit/GuiKit.h"

namespace guikit {

DialogWatcher::DialogWatcher(int button, std::string className, std::function<void(HWND, DialogSeen&)> inspect,
                             DWORD processId)
    : button_(button), className_(std::move(className)), processId_(processId), inspect_(std::move(inspect)),
      before_(TopLevelWindows({}, className_, processId_))
{
    thread_ = std::thread([this] { Run(); });
}

DialogWatcher::~DialogWatcher()
{
    if (thread_.joinable())
        thread_.join();
}

DialogSeen DialogWatcher::Wait()
{
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void DialogWatcher::Run()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND dialog = nullptr;
    while (!dialog && std::chrono::steady_clock::now() < deadline) {
        for (HWND w : TopLevelWindows({}, className_, processId_))
            if (IsWindowVisible(w) && std::find(before_.begin(), before_.end(), w) == before_.end())
                dialog = w;
        if (!dialog)
            Sleep(20);
    }
    if (!dialog)
        return;
    seen_.found = true;
    seen_.title = WindowText(dialog);
    seen_.owner = GetWindow(dialog, GW_OWNER);
    seen_.ownerEnabled = seen_.owner ? IsWindowEnabled(seen_.owner) != FALSE : true;
    for (HWND child : ChildWindows(dialog)) {
        const std::string cls = ClassName(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (_stricmp(cls.c_str(), "Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                seen_.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
                continue;
            }
            const std::string text = WindowText(child);
            if (!text.empty())
                seen_.text += (seen_.text.empty() ? "" : "\n") + text;
        } else if (_stricmp(cls.c_str(), "Button") == 0 && IsWindowVisible(child)) {
            seen_.buttons.push_back(WindowText(child));
        }
    }
    if (inspect_)
        inspect_(dialog, seen_);
    if (button_ != 0)
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_)));
}

} // namespace guikit
