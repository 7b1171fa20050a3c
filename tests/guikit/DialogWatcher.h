#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace guikit {

// What a watcher saw of a dialog before it answered it.
struct DialogSeen {
    bool found = false;
    std::string title;
    std::string text;                  // the texts of its static controls, joined by "\n"
    std::vector<std::string> buttons;  // the captions of its buttons
    HICON icon = nullptr;              // the icon it shows, if any
    bool ownerEnabled = true;          // its owner window was enabled while it was open
    HWND owner = nullptr;
};

// Waits on a thread of its own for a dialog of this process to appear (a window of the given
// class that was not there when the watcher started), inspects it, then presses `button`.
// For dialogs run modally by the thread under test, which cannot answer them itself.
class DialogWatcher {
public:
    // `button` 0 presses nothing (inspect answers); `processId` 0 watches this process.
    explicit DialogWatcher(int button = IDOK, std::string className = "#32770",
                           std::function<void(HWND dialog, DialogSeen& seen)> inspect = {}, DWORD processId = 0);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Joins the watcher (it gives up after 20 s) and tells what it saw.
    DialogSeen Wait();

private:
    void Run();

    int button_;
    std::string className_;
    DWORD processId_;
    std::function<void(HWND, DialogSeen&)> inspect_;
    std::vector<HWND> before_;
    DialogSeen seen_;
    std::thread thread_;
};

} // namespace guikit
