// The control gallery program: shows the gallery form until it is closed.
#include <windows.h>

#include "classlib/forms/Application.h"
#include "tools/gallery/GalleryForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RegisterGalleryClasses();
    TApplication application;
    application.Initialize();
    application.SetTitle("Kestrip gallery");
    TGalleryForm* form = nullptr;
    application.CreateForm(form);
    application.Run();
    return application.ExitCode();
}
