// kestrip-rundriver: starts Kestrip.exe and uses its window as a person would, ripping the disc
// in the first drive once per format.
//   kestrip-rundriver KESTRIP_EXE OUT_FOLDER SCREENSHOT_BMP [--untick N]... [FORMAT...]
// Each format's files go to OUT_FOLDER\<format>. Prints one line per finished track. Without
// formats it only checks that the window comes up, photographs it and closes it.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "classlib/Unicode.h"
#include "tools/rundriver/Remote.h"
#include "tools/rundriver/Screenshot.h"

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "rundriver: %s\n", what.c_str());
    std::fflush(stderr);
    std::exit(1);
}

// Polls until `ready` holds; a person waits too, but not forever.
bool WaitFor(const std::function<bool()>& ready, double seconds)
{
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ready();
}

std::wstring ClassOf(HWND w)
{
    wchar_t name[128] = {};
    GetClassNameW(w, name, 128);
    return name;
}

std::wstring TextOf(HWND w)
{
    wchar_t text[512] = {};
    // WM_GETTEXT works across processes: the system copies the text.
    SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::vector<HWND> TopWindowsOf(DWORD pid)
{
    struct Ctx {
        DWORD pid;
        std::vector<HWND> found;
    } ctx{pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == c->pid && IsWindowVisible(w))
                c->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildByText(HWND parent, const std::wstring& text)
{
    for (HWND w : ChildrenOf(parent))
        if (TextOf(w) == text)
            return w;
    return nullptr;
}

// The children of one window class, left to right.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls)
{
    std::vector<HWND> found;
    for (HWND w : ChildrenOf(parent))
        if (_wcsicmp(ClassOf(w).c_str(), cls.c_str()) == 0)
            found.push_back(w);
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return found;
}

// A click in the middle of a control, as the mouse would deliver it.
void Click(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    PostMessageW(w, WM_MOUSEMOVE, 0, at);
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(w, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND w, WORD key)
{
    PostMessageW(w, WM_KEYDOWN, key, 1);
    PostMessageW(w, WM_KEYUP, key, 0xC0000001);
}

bool Enabled(HWND w) { return IsWindowEnabled(w) != FALSE; }

// The text of a message box the program shows (class "#32770" with a static text), if any.
std::wstring MessageBoxText(DWORD pid)
{
    for (HWND w : TopWindowsOf(pid)) {
        if (ClassOf(w) != L"#32770")
            continue;
        for (HWND child : ChildrenOf(w))
            if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !TextOf(child).empty())
                return TextOf(child);
    }
    return {};
}

struct MainWindow {
    HWND form = nullptr;
    HWND rip = nullptr, abortButton = nullptr, selectAll = nullptr;
    HWND formats = nullptr, list = nullptr, progress = nullptr;
};

MainWindow FindMainWindow(DWORD pid)
{
    MainWindow m;
    WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(pid))
                if ((m.rip = ChildByText(w, L"Rip!")) != nullptr) {
                    m.form = w;
                    return true;
                }
            return false;
        },
        120);
    if (!m.form)
        Fail("the main window did not appear");
    m.abortButton = ChildByText(m.form, L"Abort");
    m.selectAll = ChildByText(m.form, L"Select All");
    const auto combos = ChildrenOfClass(m.form, L"ComboBox");
    const auto lists = ChildrenOfClass(m.form, WC_LISTVIEWW);
    const auto bars = ChildrenOfClass(m.form, PROGRESS_CLASSW);
    if (!m.abortButton || !m.selectAll || combos.size() < 2 || lists.empty() || bars.empty())
        Fail("the main window lacks a control");
    m.formats = combos.back(); // the format box is right of the drive box
    m.list = lists.front();
    m.progress = bars.front();
    return m;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

bool Checked(HWND list, int item)
{
    const auto state = SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

// Types the format's first letter into the drop-down list, which selects the matching item.
void ChooseFormat(const MainWindow& m, const std::wstring& format)
{
    PostMessageW(m.formats, WM_CHAR, format[0], 1);
    if (!WaitFor([&] { return TextOf(m.formats) == format; }, 20))
        Fail("the format box does not show " + WideToUtf8(format));
}

// Answers the folder browser: the folder is selected the way a click in its tree would, then OK.
void AnswerFolderBrowser(DWORD pid, HANDLE process, const std::wstring& folder)
{
    HWND dialog = nullptr;
    if (!WaitFor(
            [&] {
                for (HWND w : TopWindowsOf(pid))
                    if (ClassOf(w) == L"#32770" && ChildByText(w, L"Please select output folder")) {
                        dialog = w;
                        return true;
                    }
                return false;
            },
            60))
        Fail("the folder browser did not open");
    // The tree is filled after the dialog appears; the selection moves once the path is taken.
    const auto trees = ChildrenOfClass(dialog, WC_TREEVIEWW);
    if (trees.empty())
        Fail("the folder browser has no folder tree");
    auto caret = [&] { return SendMessageW(trees.front(), TVM_GETNEXTITEM, TVGN_CARET, 0); };
    if (!WaitFor([&] { return SendMessageW(trees.front(), TVM_GETNEXTITEM, TVGN_ROOT, 0) != 0; }, 30))
        Fail("the folder browser's tree stays empty");
    // The tree takes a selection only once it is ready: ask until the folder's own item is the
    // selected one (its text read through memory of the program's own).
    RemoteBuffer path(process, (folder.size() + 1) * sizeof(wchar_t));
    path.Write(folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
    RemoteBuffer query(process, sizeof(TVITEMW) + MAX_PATH * sizeof(wchar_t));
    auto textOf = [&](LRESULT handle) {
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(handle);
        if (!item.hItem)
            return std::wstring();
        item.pszText = reinterpret_cast<wchar_t*>(query.Address(sizeof(TVITEMW)));
        item.cchTextMax = MAX_PATH;
        const wchar_t none = 0;
        query.Write(&item, sizeof item);
        query.Write(&none, sizeof none, sizeof(TVITEMW));
        SendMessageW(trees.front(), TVM_GETITEMW, 0, query.Address());
        std::vector<wchar_t> text(MAX_PATH + 1, 0);
        query.Read(text.data(), MAX_PATH * sizeof(wchar_t), sizeof(TVITEMW));
        return std::wstring(text.data());
    };
    auto selectedText = [&] { return textOf(caret()); };
    auto next = [&](UINT relation, LRESULT item) { return SendMessageW(trees.front(), TVM_GETNEXTITEM, relation, item); };
    const std::wstring leaf = std::filesystem::path(folder).filename().wstring();
    const std::wstring parentLeaf = std::filesystem::path(folder).parent_path().filename().wstring();
    bool selected = false;
    for (int attempt = 0; attempt < 50 && !selected; ++attempt) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, path.Address());
        // Wine keeps the selection when it already sits on a sibling: click the sibling then.
        const LRESULT parent = next(TVGN_PARENT, caret());
        const bool siblings = parent && textOf(parent) == parentLeaf;
        for (LRESULT item = siblings ? next(TVGN_CHILD, parent) : 0; item && selectedText() != leaf;
             item = next(TVGN_NEXT, item))
            if (textOf(item) == leaf)
                SendMessageW(trees.front(), TVM_SELECTITEM, TVGN_CARET, item);
        selected = WaitFor([&] { return selectedText() == leaf; }, 0.5);
        if (selected) { // and it stays so
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            selected = selectedText() == leaf;
        }
    }
    if (!selected)
        Fail("the folder browser does not select " + WideToUtf8(folder));
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!ok || !WaitFor([&] { return Enabled(ok); }, 20))
        Fail("the folder browser's OK button stays disabled");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    if (!WaitFor([&] { return !IsWindow(dialog); }, 30))
        Fail("the folder browser did not close");
}

void RipFormat(const MainWindow& m, DWORD pid, HANDLE process, const std::wstring& folder,
               const std::wstring& format, const std::vector<int>& untick)
{
    ChooseFormat(m, format);
    if (SendMessageW(m.selectAll, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        Click(m.selectAll);
        if (!WaitFor([&] { return ItemCount(m.list) > 0 && Checked(m.list, ItemCount(m.list) - 1); }, 20))
            Fail("\"Select All\" did not tick the tracks");
    }
    for (int track : untick) { // data tracks: a person unticks them in the list with the space bar
        if (!Checked(m.list, track - 1))
            continue;
        PostKey(m.list, VK_HOME);
        for (int i = 1; i < track; ++i)
            PostKey(m.list, VK_DOWN);
        PostKey(m.list, VK_SPACE);
        if (!WaitFor([&] { return !Checked(m.list, track - 1); }, 20))
            Fail("track " + std::to_string(track) + " stays ticked");
    }
    std::vector<int> wanted;
    for (int i = 0; i < ItemCount(m.list); ++i)
        if (Checked(m.list, i))
            wanted.push_back(i + 1);

    std::filesystem::create_directories(folder);
    Click(m.rip);
    AnswerFolderBrowser(pid, process, folder);
    if (!WaitFor([&] { return Enabled(m.abortButton); }, 30))
        Fail("the rip did not start");

    // One line per finished track: a track is finished once the next one has begun or the
    // batch is over.
    const auto begin = Clock::now();
    auto trackStart = begin;
    size_t done = 0;
    auto report = [&](size_t index) {
        const auto now = Clock::now();
        wchar_t name[32];
        swprintf(name, 32, L"Track-%02d", wanted[index]);
        std::printf("  %-5s %s  %5.1f s\n", WideToUtf8(format).c_str(), WideToUtf8(name).c_str(),
                    std::chrono::duration<double>(now - trackStart).count());
        std::fflush(stdout);
        trackStart = now;
    };
    auto fileOf = [&](size_t index) {
        wchar_t name[32];
        swprintf(name, 32, L"Track-%02d", wanted[index]);
        return std::filesystem::path(folder) / name;
    };
    const bool finished = WaitFor(
        [&] {
            while (done + 1 < wanted.size()) {
                std::error_code ec;
                bool next = false;
                for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
                    if (entry.path().stem() == fileOf(done + 1).filename())
                        next = true;
                if (!next)
                    break;
                report(done++);
            }
            if (const std::wstring text = MessageBoxText(pid); !text.empty())
                Fail("the program says: " + WideToUtf8(text));
            return Enabled(m.rip) && !Enabled(m.abortButton);
        },
        1800);
    if (!finished)
        Fail("the batch did not end");
    while (done < wanted.size())
        report(done++);
    std::printf("  %-5s %zu tracks in %.1f s\n", WideToUtf8(format).c_str(), wanted.size(),
                std::chrono::duration<double>(Clock::now() - begin).count());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        Fail("usage: kestrip-rundriver KESTRIP_EXE OUT_FOLDER SCREENSHOT_BMP [--untick N]... [FORMAT...]");
    const std::wstring exe = argv[1], out = argv[2], screenshot = argv[3];
    std::vector<int> untick;
    std::vector<std::wstring> formats;
    for (int i = 4; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--untick" && i + 1 < argc)
            untick.push_back(_wtoi(argv[++i]));
        else
            formats.push_back(argv[i]);
    }

    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start " + WideToUtf8(exe));
    const MainWindow m = FindMainWindow(pi.dwProcessId);

    for (const std::wstring& format : formats)
        RipFormat(m, pi.dwProcessId, pi.hProcess, out + L"\\" + format, format, untick);

    // The window repaints what the end of the batch changed before it is photographed.
    RedrawWindow(m.form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(m.form, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
    if (!SaveWindowBitmap(m.form, screenshot))
        Fail("cannot save the screenshot");
    PostMessageW(m.form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0)
        Fail("the program did not end after its window was closed");
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0 ? 0 : 1;
}
