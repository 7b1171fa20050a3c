// The skin components' commands, carried out by the manager's one-shot timer.
#include <algorithm>

#include "classlib/forms/Form.h"
#include "classlib/forms/Screen.h"
#include "classlib/stdctrls/Timer.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

void TSkinManager::Command(TSkinCommand command, int delayMs)
{
    switch (command) {
    case TSkinCommand::scActivate: Command(pcActivate, delayMs); break;
    case TSkinCommand::scDeactivate: Command(pcDeactivate, delayMs); break;
    case TSkinCommand::scRefresh: Command(pcRefresh, delayMs); break;
    }
}

void TSkinManager::Command(int code, int delayMs)
{
    PendingCommand = code;
    Timer->SetEnabled(false);
    Timer->SetInterval(static_cast<unsigned>(std::max(delayMs, 1)));
    if (State_ != msIdle) {
        Timer->SetEnabled(true);
        return;
    }
    // Before the first activation the hook skins windows as they appear.
    if (code == pcActivate)
        Enabled = 1;
    else if (code == pcDeactivate)
        Enabled = 0;
}

void TSkinManager::TimerFired()
{
    Timer->SetEnabled(false);
    TSkinData* skin = PendingSkin;
    if (!skin)
        return;
    TScreen& screen = Screen();
    if (skin->SkinFormtype() == sfOnlyThisForm) {
        switch (PendingCommand) {
        case pcActivate:
            Enabled = 1;
            SkinningAll = 1;
            for (int i = screen.FormCount() - 1; i >= 0; --i)
                if (screen.Forms(i) == skin->Owner()) {
                    SkinForm(screen.Forms(i));
                    break;
                }
            SkinningAll = 0;
            break;
        case pcDeactivate:
            Enabled = 0;
            PurgeForms();
            for (auto it = Forms.rbegin(); it != Forms.rend(); ++it)
                if ((*it)->SkinData == skin) {
                    DetachFrame(*it);
                    break;
                }
            break;
        case pcRefresh:
            PurgeForms();
            for (TSkinForm* frame : Forms)
                if (frame->SkinData == skin) {
                    frame->DropButtonObjects();
                    frame->ComputeFrameMetrics();
                    frame->Reskin();
                    break;
                }
            break;
        }
    } else {
        switch (PendingCommand) {
        case pcActivate:
            Enabled = 1;
            SkinningAll = 1;
            PurgeForms();
            for (int i = screen.FormCount() - 1; i >= 0; --i)
                SkinForm(screen.Forms(i));
            SkinningAll = 0;
            break;
        case pcDeactivate:
            Enabled = 0;
            PurgeForms();
            while (!Forms.empty())
                DetachFrame(Forms.front());
            break;
        case pcRefresh: {
            PurgeForms();
            std::vector<TSkinForm*> frames;
            for (TSkinForm* frame : Forms)
                if (frame->SkinData == skin)
                    frames.push_back(frame);
            for (TSkinForm* frame : frames) {
                frame->DropButtonObjects();
                frame->ComputeFrameMetrics();
            }
            for (TSkinForm* frame : frames)
                frame->Reskin();
            break;
        }
        }
    }
    skin->SkinChanged();
    PendingSkin = nullptr;
}

void TSkinManager::SetMdiMaximized(bool on)
{
    const BYTE value = on ? 1 : 0;
    if (value == MdiMaximized)
        return;
    MdiMaximized = value;
    for (TSkinForm* frame : Forms) {
        if (!IsLiveFrame(frame) || frame->MdiKind != mkChild)
            continue;
        if (on) {
            if (frame->RegionOwned)
                frame->DropRegion();
            frame->SetCaptionStyle(true);
        } else if (frame->WindowState == fwMinimized) {
            frame->SetCaptionStyle(true);
        } else {
            frame->WindowState = fwNormal;
            frame->UpdateRegion();
            frame->SetCaptionStyle(false);
            if (!frame->RegionOwned)
                SetWindowPos(frame->FormHandle, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
}
