// Kestrip.exe: the application object, the main window from its stored description, the
// message loop.
#include <windows.h>

#include "app/Main.h"
#include "cdrom/Published.h"
#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Graphics.h"
#include "outputs/Published.h"
#include "pipeline/Published.h"
#include "skin/SkinEngine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    TClassRegistry& classes = Classes();
    RegisterGraphicsClasses(classes);
    RegisterControlClasses(classes);
    RegisterPipelineClasses(classes);
    RegisterCDInClasses(classes);
    RegisterOutputClasses(classes);
    RegisterSkinEngine(classes);
    RegisterMainFormClasses(classes);

    int exitCode = 0;
    {
        TApplication application;
        application.Initialize();
        application.SetTitle("Kestrip");
        TForm1* form = nullptr;
        application.CreateForm(form);
        application.Run();
        exitCode = application.ExitCode();
    }
    ShutdownSkinEngine();
    return exitCode;
}
