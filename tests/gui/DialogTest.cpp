// Message boxes and standard dialogs: their titles, texts, icons, buttons and owners, the
// folder browser, and the start-up error display of a program whose form cannot be made.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "GuiTestEnvironment.h"
#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/FolderBrowser.h"
#include "classlib/stdctrls/SaveDialog.h"
#include "guikit/DialogWatcher.h"
#include "guikit/GuiKit.h"

namespace {

struct ShownForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    ShownForm()
    {
        form->SetBounds(100, 100, 300, 200);
        form->SetCaption("Owner");
        form->Show();
        guikit::PumpMessages();
    }
};

TEST(Dialogs, AMessageBoxShowsItsTextTitleAndIconOwnedByTheWindow)
{
    ShownForm f;
    guikit::DialogWatcher watcher;
    const int answer = Application->MessageBox("Please select the tracks!", "", MB_ICONWARNING | MB_OK);
    const guikit::DialogSeen seen = watcher.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(seen.title, "");
    EXPECT_EQ(seen.text, "Please select the tracks!");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_WARNING));
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(seen.owner, f.form->Handle());
    EXPECT_FALSE(seen.ownerEnabled); // modal to its owner
}

TEST(Dialogs, TheStandardMessageDialogIsTitledWithTheApplicationTitle)
{
    ShownForm f;
    guikit::DialogWatcher watcher;
    ShowMessage("Drive not ready");
    const guikit::DialogSeen seen = watcher.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, kTestTitle);
    EXPECT_EQ(seen.text, "Drive not ready");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(seen.owner, f.form->Handle());
}

TEST(Dialogs, AnErrorInAnEventHandlerIsShownAndTheProgramGoesOn)
{
    ShownForm f;
    auto* button = new TButton(f.form.get());
    button->SetParent(f.form.get());
    button->SetBounds(10, 10, 80, 25);
    int clicks = 0;
    button->OnClick = [&](TComponent*) {
        ++clicks;
        throw Exception("Cannot create file \"X:\\Track-01.wav\". The device is not ready.");
    };
    guikit::DialogWatcher watcher;
    guikit::Click(button->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    const guikit::DialogSeen seen = watcher.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, kTestTitle);
    EXPECT_EQ(seen.text, "Cannot create file \"X:\\Track-01.wav\". The device is not ready.");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_HAND));
    // Still alive and answering.
    guikit::Click(button->Handle());
    guikit::DialogWatcher second;
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 2; }));
    EXPECT_TRUE(second.Wait().found);
}

// The text of the browser's selected tree item once it is `name` (waits up to 10 s while the
// browser fills its tree), else what is selected then.
std::string WaitForSelection(HWND dialog, const std::string& name)
{
    HWND tree = nullptr;
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND child : guikit::ChildWindows(dialog))
            if (guikit::ClassName(child) == "SysTreeView32")
                tree = child;
        if (tree) {
            wchar_t buffer[MAX_PATH] = {};
            TVITEMW item{};
            item.mask = TVIF_TEXT;
            item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            item.pszText = buffer;
            item.cchTextMax = MAX_PATH;
            if (item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
                text = WideToUtf8(buffer);
            if (text == name)
                break;
        }
        Sleep(20);
    }
    return text;
}

TEST(Dialogs, TheFolderBrowserOpensAtAnExistingFolderWithTheOtherWindowsDisabled)
{
    ShownForm f;
    const std::string folder = guikit::TestOutputDir() + "\\M\xC3\xBAsica \xE9\x9F\xB3\xE6\xA5\xBD";
    CreateDirectoryW(Utf8ToWide(folder).c_str(), nullptr);
    std::string directory = folder + "\\";
    bool formEnabledWhileOpen = true;
    std::string texts;
    std::string selected;
    guikit::DialogWatcher watcher(IDOK, "#32770", [&](HWND dialog, guikit::DialogSeen& seen) {
        formEnabledWhileOpen = IsWindowEnabled(f.form->Handle()) != FALSE;
        texts = seen.text;
        selected = WaitForSelection(dialog, "M\xC3\xBAsica \xE9\x9F\xB3\xE6\xA5\xBD");
    });
    ASSERT_TRUE(SelectDirectory("Please select output folder", directory));
    ASSERT_TRUE(watcher.Wait().found);
    EXPECT_FALSE(formEnabledWhileOpen);
    EXPECT_NE(texts.find("Please select output folder"), std::string::npos) << texts;
    EXPECT_EQ(selected, "M\xC3\xBAsica \xE9\x9F\xB3\xE6\xA5\xBD"); // shown selected before OK
    EXPECT_EQ(directory, folder);
    EXPECT_TRUE(IsWindowEnabled(f.form->Handle()));
}

TEST(Dialogs, TheFolderBrowserForgetsAFolderThatIsGone)
{
    ShownForm f;
    std::string directory = guikit::TestOutputDir() + "\\no such folder";
    guikit::DialogWatcher watcher(IDCANCEL);
    EXPECT_FALSE(SelectDirectory("Please select output folder", directory));
    ASSERT_TRUE(watcher.Wait().found);
    EXPECT_EQ(directory, "");
}

TEST(Dialogs, FolderPathsLoseTheirTrailingSeparatorExceptAtADriveRoot)
{
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\", "C:\\"}, {"C:", "C:\\"}, {"D:\\Music\\", "D:\\Music"}, {"D:\\Music", "D:\\Music"},
        {"\\\\server\\share\\", "\\\\server\\share"}, {"D:\\a\\\\", "D:\\a"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(TrimFolderPath(in), out) << in;
}

TEST(Dialogs, TheSaveDialogCanBeCancelled)
{
    ShownForm f;
    EXPECT_EQ(TSaveDialog::SystemFilter("Vorbis files|*.ogg"), std::wstring(L"Vorbis files\0*.ogg\0\0", 20));
    TSaveDialog dialog(nullptr);
    dialog.SetDefaultExt("ogg");
    dialog.SetFilter("Vorbis files|*.ogg");
    guikit::DialogWatcher watcher(IDCANCEL);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(watcher.Wait().found);
}

TEST(Dialogs, AFormThatCannotBeCreatedShowsTheErrorAndEndsTheProgram)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"gui_startup_error.exe";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    bool formShown = false;
    guikit::DialogWatcher watcher(IDOK, "#32770", [&](HWND, guikit::DialogSeen&) {
        for (HWND w : guikit::TopLevelWindows({}, "KestripForm", pi.dwProcessId))
            formShown = formShown || IsWindowVisible(w);
    }, pi.dwProcessId);
    const guikit::DialogSeen seen = watcher.Wait();
    const DWORD waited = WaitForSingleObject(pi.hProcess, 30000);
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "Startup Test");
    EXPECT_EQ(seen.text, "cdrip.dll could not be loaded.");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_FALSE(formShown);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, 1u);
}

} // namespace
